#include "LogReader.h"

#include "LogManager.h"

#include <algorithm>
#include <fstream>
#include <sstream>

std::string readLogText() {
    bw::LogManager::getInstance().flushFile();
    std::ostringstream text;
    text << std::ifstream(bw::LOGFILE_NAME).rdbuf();
    return text.str();
}

std::vector<std::string> logMessages(const std::string& text) {
    std::vector<std::string> messages;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const auto separator = line.find(" - ");
        messages.push_back(separator == std::string::npos ? line : line.substr(separator + 3));
    }
    return messages;
}

std::vector<std::string> readLogLines() { return logMessages(readLogText()); }

int countLogLines(const std::string& message) { return static_cast<int>(std::ranges::count(readLogLines(), message)); }

bool logHasLineStartingWith(const std::string& prefix) {
    return std::ranges::any_of(readLogLines(), [&](const std::string& line) { return line.starts_with(prefix); });
}
