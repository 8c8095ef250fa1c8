#include "LogManager.h"

#include <chrono>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace bw {

LogManager& LogManager::getInstance() {
    static LogManager instance;
    return instance;
}

LogManager::~LogManager() {
    if (file.is_open()) file.close();
}

int LogManager::startUp() {
    if (isStarted()) return 0;
    file.clear();
    file.open(LOGFILE_NAME, std::ios::out | std::ios::trunc);
    if (!file.is_open()) return -1;
    setStarted(true);
    writeLog(2, "Started up LogManager");
    return 0;
}

void LogManager::shutDown() {
    if (!isStarted()) return;
    writeLog(2, "Shutting down LogManager");
    file.close();
    setStarted(false);
}

int LogManager::writeLog(int level, const std::string& message) {
    if (threshold >= 0 && level > threshold) return 0;
    const std::string line = getTimeString() + " - " + message + "\n";
    file << line;
    if (echo) std::cout << line;
    if (flush) {
        file.flush();
        if (echo) std::cout.flush();
    }
    return file.fail() ? -1 : 0;
}

int LogManager::writeLog(const std::string& message) { return writeLog(0, message); }

void LogManager::flushFile() {
    if (file.is_open()) file.flush();
}

std::string LogManager::formatTime(int hours, int minutes, double seconds) {
    std::ostringstream out;
    out << std::setfill('0') << std::right << std::setw(2) << hours << ':' << std::setw(2)
        << minutes << ':' << std::setw(6) << seconds;
    return out.str();
}

std::string LogManager::getTimeString() {
    using namespace std::chrono;
    const auto since_epoch = system_clock::now().time_since_epoch();
    const long long ms_of_day = duration_cast<milliseconds>(since_epoch).count() % 86'400'000LL;
    const int hours = static_cast<int>(ms_of_day / 3'600'000);
    const int minutes = static_cast<int>(ms_of_day / 60'000 % 60);
    const double seconds = static_cast<double>(ms_of_day / 1000 % 60) + (ms_of_day % 1000) / 1000.0;
    return formatTime(hours, minutes, seconds);
}

} // namespace bw
