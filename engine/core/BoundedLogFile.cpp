#include "BoundedLogFile.h"

#include <algorithm>
#include <limits>
#include <system_error>
#include <vector>

namespace bw {

namespace {

constexpr std::string_view SEPARATOR = " - ";
// Dropping keeps at most this share of the room for recent lines (see the class comment).
constexpr std::uintmax_t KEPT_SHARE = 4;
// Line starts remembered per limit: dropping cuts up to limit / MARKS_PER_LIMIT bytes short of
// the ideal place, and the marks cost a few kilobytes whatever the limit.
constexpr std::uintmax_t MARKS_PER_LIMIT = 64;
// The kept lines are moved through a buffer of this many bytes.
constexpr std::size_t MOVE_CHUNK = 1 << 20;
// Time stamps longer than this are cut in the warning line, so that its length has a bound.
constexpr std::size_t MAX_STAMP = 32;
constexpr std::string_view WARNING_PREFIX = "WARNING: ";
constexpr std::string_view LINES = " lines";
constexpr std::string_view DROPPED_HERE = " dropped here to keep the log within ";
constexpr std::string_view WARNING_END = " bytes\n";
constexpr std::size_t MAX_DIGITS = std::numeric_limits<std::uintmax_t>::digits10 + 1;
// The longest warning line there can be: the room it takes is kept free for it.
constexpr std::uintmax_t MAX_WARNING_BYTES = MAX_STAMP + SEPARATOR.size() + WARNING_PREFIX.size() + MAX_DIGITS +
                                             LINES.size() + DROPPED_HERE.size() + MAX_DIGITS + WARNING_END.size();

std::string warningLine(std::string_view time_stamp, std::uintmax_t dropped, std::uintmax_t limit) {
    std::string line(time_stamp.substr(0, MAX_STAMP));
    line.append(SEPARATOR).append(WARNING_PREFIX).append(std::to_string(dropped));
    line.append(dropped == 1 ? LINES.substr(0, LINES.size() - 1) : LINES);
    line.append(DROPPED_HERE).append(std::to_string(limit)).append(WARNING_END);
    return line;
}

std::streampos position(std::uintmax_t offset) { return static_cast<std::streamoff>(offset); }

} // namespace

BoundedLogFile::BoundedLogFile(std::uintmax_t size_limit) : limit(std::max(size_limit, MIN_SIZE_LIMIT)) {
    file.pubsetbuf(nullptr, 0);
    pending.reserve(PENDING_BYTES);
}

BoundedLogFile::~BoundedLogFile() { close(); }

bool BoundedLogFile::open(const std::filesystem::path& file_path) {
    close();
    path = file_path;
    // Binary, so that the bytes counted are the bytes in the file on every platform.
    if (file.open(path, std::ios::in | std::ios::out | std::ios::trunc | std::ios::binary) == nullptr)
        return false;
    failed = false;
    pending.clear();
    size = 0;
    in_start_up = true;
    start_up_end = 0;
    recent_start = 0;
    recent_first_line = 0;
    recent_lines_written = 0;
    dropped = 0;
    marks.clear();
    return true;
}

void BoundedLogFile::close() {
    if (!isOpen()) return;
    writePending();
    if (file.close() == nullptr) failed = true;
}

void BoundedLogFile::setSizeLimit(std::uintmax_t size_limit) { limit = std::max(size_limit, MIN_SIZE_LIMIT); }

void BoundedLogFile::endStartUp() {
    if (!in_start_up) return;
    in_start_up = false;
    start_up_end = size;
    recent_start = size;
}

void BoundedLogFile::flush() {
    if (isOpen()) writePending();
}

void BoundedLogFile::writePending() {
    if (pending.empty()) return;
    put(pending);
    pending.clear();
}

void BoundedLogFile::put(std::string_view text) {
    if (file.sputn(text.data(), static_cast<std::streamsize>(text.size())) != static_cast<std::streamsize>(text.size()))
        failed = true;
}

std::uintmax_t BoundedLogFile::recentRoom() const {
    const std::uintmax_t taken = start_up_end + MAX_WARNING_BYTES;
    return limit > taken ? limit - taken : 0;
}

void BoundedLogFile::writeLine(std::string_view time_stamp, std::string_view message) {
    if (hasFailed()) return;
    const std::uintmax_t bytes = time_stamp.size() + SEPARATOR.size() + message.size() + 1;
    if (in_start_up) {
        if (size + bytes <= limit / 2) {
            append(time_stamp, message, bytes);
            start_up_end = size;
            return;
        }
        endStartUp();
    }
    if (bytes > recentRoom()) {
        dropOldLines(time_stamp, 0, true);
        return;
    }
    if (size + bytes > limit) {
        dropOldLines(time_stamp, bytes, false);
        if (hasFailed()) return;
    }
    const std::uintmax_t last_mark = marks.empty() ? recent_start : marks.back().offset;
    if (size - last_mark >= limit / MARKS_PER_LIMIT && size > recent_start)
        marks.push_back({size, recent_lines_written});
    append(time_stamp, message, bytes);
    ++recent_lines_written;
}

void BoundedLogFile::append(std::string_view time_stamp, std::string_view message, std::uintmax_t bytes) {
    if (pending.size() + bytes > PENDING_BYTES) writePending();
    if (bytes > PENDING_BYTES) {
        put(time_stamp);
        put(SEPARATOR);
        put(message);
        put("\n");
    } else {
        pending.append(time_stamp).append(SEPARATOR).append(message).push_back('\n');
    }
    size += bytes;
}

void BoundedLogFile::dropOldLines(std::string_view time_stamp, std::uintmax_t incoming, bool incoming_dropped) {
    flush();
    if (hasFailed()) return;
    const std::uintmax_t room = recentRoom();
    const LineMark cut = cutPoint(std::min(room / KEPT_SHARE, room - incoming));
    dropped += cut.line - recent_first_line + (incoming_dropped ? 1 : 0);

    // The kept lines move first: when few lines were dropped, the new warning line may be
    // longer than they were and reach into where the kept lines are now.
    const std::string warning = warningLine(time_stamp, dropped, limit);
    const std::uintmax_t new_start = start_up_end + warning.size();
    const std::uintmax_t kept = size - cut.offset;
    if (!moveBytes(cut.offset, new_start, kept) || file.pubseekpos(position(start_up_end), std::ios::out) == std::streampos(-1)) {
        failed = true;
        return;
    }
    put(warning);
    if (failed || !endFileAt(new_start + kept)) {
        failed = true;
        return;
    }
    std::erase_if(marks, [&](const LineMark& mark) { return mark.offset <= cut.offset; });
    for (LineMark& mark : marks) mark.offset = mark.offset - cut.offset + new_start;
    recent_start = new_start;
    recent_first_line = cut.line;
}

BoundedLogFile::LineMark BoundedLogFile::cutPoint(std::uintmax_t keep) const {
    const auto fits = [&](const LineMark& mark) { return size - mark.offset <= keep; };
    const LineMark first{recent_start, recent_first_line};
    if (fits(first)) return first;
    const auto mark = std::find_if(marks.begin(), marks.end(), fits);
    return mark != marks.end() ? *mark : LineMark{size, recent_lines_written};
}

bool BoundedLogFile::moveBytes(std::uintmax_t from, std::uintmax_t to, std::uintmax_t count) {
    if (from == to || count == 0) return true;
    std::vector<char> chunk(static_cast<std::size_t>(std::min<std::uintmax_t>(count, MOVE_CHUNK)));
    // Moving down, the front goes first; moving up, the back: a piece is read before anything
    // is written over it.
    const bool down = to < from;
    for (std::uintmax_t done = 0; done < count;) {
        const std::uintmax_t piece = std::min<std::uintmax_t>(count - done, chunk.size());
        const std::uintmax_t at = down ? done : count - done - piece;
        const auto bytes = static_cast<std::streamsize>(piece);
        if (file.pubseekpos(position(from + at), std::ios::in) == std::streampos(-1) ||
            file.sgetn(chunk.data(), bytes) != bytes ||
            file.pubseekpos(position(to + at), std::ios::out) == std::streampos(-1) ||
            file.sputn(chunk.data(), bytes) != bytes)
            return false;
        done += piece;
    }
    return true;
}

bool BoundedLogFile::endFileAt(std::uintmax_t new_size) {
    size = new_size;
    // The file is cut with the stream closed, which every platform allows.
    if (file.close() == nullptr) return false;
    std::error_code error;
    std::filesystem::resize_file(path, size, error);
    if (error) return false;
    if (file.open(path, std::ios::in | std::ios::out | std::ios::binary) == nullptr) return false;
    return file.pubseekoff(0, std::ios::end, std::ios::out) == position(size);
}

} // namespace bw
