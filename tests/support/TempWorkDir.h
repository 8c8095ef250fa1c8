#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

/// Makes a fresh temporary directory the working directory for the object's lifetime, so that
/// brackwen.log and other files a test writes land there. The old directory comes back after.
class TempWorkDir {
public:
    TempWorkDir() {
        // The clock tells apart test programs running side by side, the counter the folders of one.
        static std::atomic<int> counter{0};
        std::string name("tarnwick-test-");
        name.append(std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        dir = std::filesystem::temp_directory_path() / name.append("-").append(std::to_string(counter++));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
    }
    ~TempWorkDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
        std::filesystem::remove_all(dir, ignored);
    }
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    const std::filesystem::path& path() const { return dir; }

private:
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path dir;
};
