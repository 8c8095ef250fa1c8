#include "SpriteLogCapture.h"

#include "LogManager.h"

#include <chrono>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

SpriteLogCapture::SpriteLogCapture() {
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    if (error) return;
    // A fresh folder of its own, so that checks running side by side never share a log.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100 && folder.empty(); ++attempt) {
        const fs::path candidate = temp / ("spritecheck-" + std::to_string(stamp) + "-" + std::to_string(attempt));
        if (fs::create_directory(candidate, error)) folder = candidate;
    }
    if (folder.empty()) return;

    const fs::path previous = fs::current_path(error);
    if (error) return;
    fs::current_path(folder, error);
    if (error) return;
    // The log manager opens its file relative to the working directory; the stream stays
    // bound to that file after the directory changes back.
    auto& log = bw::LogManager::getInstance();
    ready = log.startUp() == 0;
    fs::current_path(previous, error);
    if (error) ready = false;
    log.setLogLevel(1);
    // Skip the start-up line: only what the loader writes is of interest.
    takeNewMessages();
}

SpriteLogCapture::~SpriteLogCapture() {
    bw::LogManager::getInstance().shutDown();
    std::error_code ignored;
    if (!folder.empty()) fs::remove_all(folder, ignored);
}

std::vector<std::string> SpriteLogCapture::takeNewMessages() {
    std::vector<std::string> messages;
    if (!ready) return messages;
    bw::LogManager::getInstance().flushFile();

    std::ifstream file(folder / bw::LOGFILE_NAME, std::ios::in | std::ios::binary);
    file.seekg(static_cast<std::streamoff>(read_up_to));
    std::ostringstream text;
    text << file.rdbuf();
    const std::string fresh = text.str();
    read_up_to += fresh.size();

    std::istringstream lines(fresh);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto separator = line.find(" - ");
        messages.push_back(separator == std::string::npos ? line : line.substr(separator + 3));
    }
    return messages;
}
