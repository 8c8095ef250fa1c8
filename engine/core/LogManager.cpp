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

LogManager::~LogManager() { file.close(); }

int LogManager::startUp() {
    if (isStarted()) return 0;
    if (!file.open(LOGFILE_NAME)) return -1;
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
    const std::string& time_stamp = currentTimeStamp();
    file.writeLine(time_stamp, message);
    if (echo) std::cout << time_stamp << " - " << message << '\n';
    if (flush) {
        file.flush();
        if (echo) std::cout.flush();
    }
    return file.hasFailed() ? -1 : 0;
}

int LogManager::writeLog(const std::string& message) { return writeLog(0, message); }

void LogManager::flushFile() {
    file.endStartUp();
    file.flush();
}

void LogManager::setSizeLimit(std::uintmax_t bytes) {
    if (bytes < BoundedLogFile::MIN_SIZE_LIMIT)
        writeLog(1, "WARNING: log size limit of " + std::to_string(bytes) + " bytes is too small; using " +
                        std::to_string(BoundedLogFile::MIN_SIZE_LIMIT));
    file.setSizeLimit(bytes);
}

std::string LogManager::formatTime(int hours, int minutes, double seconds) {
    std::ostringstream out;
    out << std::setfill('0') << std::right << std::setw(2) << hours << ':' << std::setw(2)
        << minutes << ':' << std::setw(6) << seconds;
    return out.str();
}

namespace {

long long millisecondsSinceEpoch() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string formatTimeOfDay(long long since_epoch_ms) {
    const long long ms_of_day = since_epoch_ms % 86'400'000LL;
    const int hours = static_cast<int>(ms_of_day / 3'600'000);
    const int minutes = static_cast<int>(ms_of_day / 60'000 % 60);
    const double seconds = static_cast<double>(ms_of_day / 1000 % 60) + static_cast<double>(ms_of_day % 1000) / 1000.0;
    return LogManager::formatTime(hours, minutes, seconds);
}

} // namespace

std::string LogManager::getTimeString() { return formatTimeOfDay(millisecondsSinceEpoch()); }

const std::string& LogManager::currentTimeStamp() {
    const long long now = millisecondsSinceEpoch();
    if (now != stamp_millisecond) {
        stamp_millisecond = now;
        stamp = formatTimeOfDay(now);
    }
    return stamp;
}

} // namespace bw
