#include "BenchmarkSession.h"

#include "DisplayManager.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Object.h"
#include "ObjectList.h"
#include "ReferenceScreens.h"
#include "WorldManager.h"

#include <chrono>
#include <iostream>
#include <string>

std::filesystem::path BenchmarkSession::work_dir;
std::filesystem::path BenchmarkSession::previous_dir;

bool BenchmarkSession::start() {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    work_dir = std::filesystem::temp_directory_path() / ("tarnwick-bench-" + std::to_string(stamp));
    std::filesystem::create_directories(work_dir);
    previous_dir = std::filesystem::current_path();
    std::filesystem::current_path(work_dir);
    // The engine opens its default font from the working folder at start-up, as the game does.
    std::error_code no_font;
    std::filesystem::copy_file(std::filesystem::path(TARNWICK_RUN_DIR) / "bw-font.ttf", "bw-font.ttf", no_font);

    bw::GameManager::getInstance().startUp();
    // As the game runs: errors, warnings and notices (the drawn strings among them) are written.
    bw::LogManager::getInstance().setLogLevel(1);
    if (bw::DisplayManager::getInstance().getWindow() == nullptr) {
        std::cerr << "tarnwick_bench: no window (run it under scripts/xvfb or on a desktop)\n";
        return false;
    }
    ReferenceScreens screens;
    if (!screens.load()) {
        std::cerr << "tarnwick_bench: " << screens.why() << "\n";
        return false;
    }
    return true;
}

void BenchmarkSession::stop() {
    bw::GameManager::getInstance().shutDown();
    std::filesystem::current_path(previous_dir);
    std::error_code ignored;
    std::filesystem::remove_all(work_dir, ignored);
}

void BenchmarkSession::emptyWorld() {
    bw::WorldManager& world = bw::WorldManager::getInstance();
    // Through the deletion queue, so that objects already queued are destroyed once with the rest.
    for (bw::Object* object : world.getAllObjects()) world.markForDelete(object);
    world.update();
}
