#pragma once

#include "BoundedLogFile.h"
#include "Manager.h"

#include <cstdint>
#include <string>

namespace bw {

/// Name of the log file, relative to the working directory. Emptied at every start.
inline const std::string LOGFILE_NAME = "brackwen.log";
/// The size the log file never grows past: 64 MB, in bytes.
constexpr std::uintmax_t LOGFILE_SIZE_LIMIT_DEFAULT = 64'000'000;

/// Writes time-stamped diagnostic lines to LOGFILE_NAME, filtered by level.
/// Levels: 0 errors and notices, 1 warnings, 2 start-up/shut-down and overruns, 3 per-iteration.
/// The file stays within a size limit: it keeps its start-up lines (everything before the loop's
/// first step) and the most recent ones, with a warning line between them saying how many lines
/// were dropped (see BoundedLogFile).
class LogManager : public Manager {
public:
    static LogManager& getInstance();
    ~LogManager() override;

    /// Opens (and truncates) the log file. 0 on success or when already open, -1 when the file
    /// cannot be opened.
    int startUp() override;
    /// Writes the shut-down line and closes the file.
    void shutDown() override;

    /// Writes "<time> - <message>" when level passes the threshold. 0 when written or filtered
    /// out, -1 when the stream failed (for example the file never opened).
    int writeLog(int level, const std::string& message);
    /// The same at level 0.
    int writeLog(const std::string& message);

    /// Lines above this level are dropped; a negative threshold lets everything through.
    void setLogLevel(int level) { threshold = level; }
    int getLogLevel() const { return threshold; }
    /// Flush the file after every line.
    void setFlush(bool do_flush) { flush = do_flush; }
    /// Also print every line to standard output.
    void setEcho(bool do_echo) { echo = do_echo; }
    /// Hands the buffered lines to the operating system. The game loop calls this as every step
    /// begins, so the first call after startUp() also ends the start-up part of the log.
    void flushFile();

    /// The size in bytes the log file never grows past; LOGFILE_SIZE_LIMIT_DEFAULT unless changed.
    /// A limit below BoundedLogFile::MIN_SIZE_LIMIT is raised to it, with a warning.
    void setSizeLimit(std::uintmax_t bytes);
    std::uintmax_t getSizeLimit() const { return file.getSizeLimit(); }

    /// Current UTC time of day as HH:MM:SS.mmm, seconds zero-padded to six characters
    /// (07.25 s reads 007.25).
    static std::string getTimeString();
    /// The same formatting for a given time of day; seconds may carry milliseconds.
    static std::string formatTime(int hours, int minutes, double seconds);

private:
    LogManager() = default;
    /// getTimeString(), formatted again only when the millisecond has changed: a screen of
    /// strings writes hundreds of lines within one millisecond.
    const std::string& currentTimeStamp();

    BoundedLogFile file{LOGFILE_SIZE_LIMIT_DEFAULT};
    bool flush = false;
    bool echo = false;
    int threshold = -1;
    long long stamp_millisecond = -1;
    std::string stamp;
};

} // namespace bw
