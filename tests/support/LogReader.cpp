#include "LogReader.h"

#include "LogManager.h"

#include <algorithm>
#include <fstream>
#include <sstream>

std::string readLogText() {
    bw::LogManager::getInstance().flushFile();
    std::ifstream file(bw::LOGFILE_NAME);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> readLogLines() {
    std::vector<std::string> messages;
    std::istringstream text(readLogText());
    std::string line;
    while (std::getline(text, line)) {
        const auto separator = line.find(" - ");
        messages.push_back(separator == std::string::npos ? line : line.substr(separator + 3));
    }
    return messages;
}

int countLogLines(const std::string& message) {
    const auto lines = readLogLines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), message));
}

bool logHasLineStartingWith(const std::string& prefix) {
    const auto lines = readLogLines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}
