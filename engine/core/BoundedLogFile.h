#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace bw {

/// A log file that never grows past a size limit (in bytes).
///
/// The file has up to three parts: the start-up part, every line written before endStartUp();
/// then, once lines have been dropped, one warning line saying how many; then the most recent
/// lines. When a line would take the file past the limit, the oldest recent lines are dropped,
/// whole lines only, until the recent part fills at most a quarter of its room. The kept lines
/// are moved within the file in pieces, so neither they nor the dropped ones are held in memory;
/// keeping a quarter makes the move short (the loop waits for it) and rare (once per three
/// quarters of a limit written), and still leaves the newest 16 MB at a limit of 64 MB.
class BoundedLogFile {
public:
    /// The smallest limit accepted (bytes): room for a start-up part, the warning and some lines.
    static constexpr std::uintmax_t MIN_SIZE_LIMIT = 4096;
    /// Bytes of lines gathered before they are handed to the operating system in one write.
    static constexpr std::size_t PENDING_BYTES = 65536;

    /// size_limit in bytes; anything below MIN_SIZE_LIMIT counts as MIN_SIZE_LIMIT.
    explicit BoundedLogFile(std::uintmax_t size_limit);
    /// Writes out what is still buffered.
    ~BoundedLogFile();
    BoundedLogFile(const BoundedLogFile&) = delete;
    BoundedLogFile& operator=(const BoundedLogFile&) = delete;

    /// Opens the file at path for writing, emptied, and starts its start-up part. False when it
    /// cannot be opened (it stays closed then).
    bool open(const std::filesystem::path& path);
    /// Writes out what is buffered and closes the file. Does nothing when it is not open.
    void close();
    bool isOpen() const { return file.is_open(); }
    /// True when the file is not open or a write to it has failed since it was opened.
    bool hasFailed() const { return failed || !isOpen(); }

    /// Appends the line "<time_stamp> - <message>\n", dropping old lines first when it would not
    /// fit. A line too long to fit even alone is dropped itself (and counted). Lines are
    /// gathered in memory (at most PENDING_BYTES) until flush() or until the gathering is full.
    void writeLine(std::string_view time_stamp, std::string_view message);
    /// Hands the buffered lines to the operating system.
    void flush();

    /// Ends the start-up part: the lines written so far stay at the top of the file whatever is
    /// dropped later. A start-up part that would grow past half the limit ends by itself.
    void endStartUp();

    /// Changes the limit (bytes) for the lines written from now on; below MIN_SIZE_LIMIT counts
    /// as MIN_SIZE_LIMIT. The start-up part is never cut, even by a limit smaller than it.
    void setSizeLimit(std::uintmax_t size_limit);
    std::uintmax_t getSizeLimit() const { return limit; }

private:
    /// A line start in the recent part: its offset in the file (bytes) and how many recent lines
    /// were written before it.
    struct LineMark {
        std::uintmax_t offset;
        std::uintmax_t line;
    };

    /// Room for the recent lines (bytes): the limit less the start-up part and a warning line.
    std::uintmax_t recentRoom() const;
    void append(std::string_view time_stamp, std::string_view message, std::uintmax_t bytes);
    /// Writes text at the file's current position, unbuffered.
    void put(std::string_view text);
    /// Writes out the gathered lines.
    void writePending();
    /// Drops the oldest recent lines so that a line of incoming bytes fits after them, and
    /// rewrites the warning line; incoming_dropped counts the incoming line as dropped instead.
    void dropOldLines(std::string_view time_stamp, std::uintmax_t incoming, bool incoming_dropped);
    /// The first remembered line start from which the rest of the file is at most keep bytes.
    LineMark cutPoint(std::uintmax_t keep) const;
    /// Copies count bytes at offset from to offset to, in pieces; the ranges may overlap.
    bool moveBytes(std::uintmax_t from, std::uintmax_t to, std::uintmax_t count);
    /// Makes the file new_size bytes long (cutting what lies beyond) and writes on at its end.
    bool endFileAt(std::uintmax_t new_size);

    std::filesystem::path path;
    /// Unbuffered: lines are gathered in pending, and dropping moves lines in large pieces.
    std::filebuf file;
    std::string pending;
    bool failed = false;
    std::uintmax_t limit;
    /// Bytes in the file, the pending ones included.
    std::uintmax_t size = 0;
    bool in_start_up = true;
    std::uintmax_t start_up_end = 0;
    std::uintmax_t recent_start = 0;
    std::uintmax_t recent_first_line = 0;
    std::uintmax_t recent_lines_written = 0;
    std::uintmax_t dropped = 0;
    /// Line starts in the recent part about every limit / MARKS_PER_LIMIT bytes: where dropping
    /// may cut, and how many lines lie before each cut.
    std::deque<LineMark> marks;
};

} // namespace bw
