#include "TempWorkDir.h"

#include <atomic>
#include <chrono>
#include <string>

namespace fs = std::filesystem;

TempWorkDir::TempWorkDir() : previous(fs::current_path()) {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    dir = fs::temp_directory_path() /
          ("tarnwick-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(dir);
    fs::current_path(dir);
}

TempWorkDir::~TempWorkDir() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::remove_all(dir, ignored);
}
