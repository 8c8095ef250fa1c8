#include "SpriteFileReader.h"

#include "Color.h"
#include "Frame.h"
#include "LogManager.h"
#include "Sprite.h"

#include <charconv>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace bw {

namespace {

bool beginsWith(const std::string& text, std::string_view keyword) {
    return text.compare(0, keyword.size(), keyword) == 0;
}

enum NumberResult { NUMBER_OK, NUMBER_MISSING, NUMBER_OUT_OF_RANGE };

// Reads a decimal int the way a C number conversion does: leading white space skipped, an
// optional sign, the digits, the rest ignored. Never throws; out-of-range values are reported.
NumberResult parseInt(std::string_view text, int& value) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
    if (at < text.size() && text[at] == '+') {
        ++at;
        // from_chars accepts a minus of its own, which must not follow a plus.
        if (at < text.size() && text[at] == '-') return NUMBER_MISSING;
    }
    const char* first = text.data() + at;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    (void)end;
    if (error == std::errc::result_out_of_range) return NUMBER_OUT_OF_RANGE;
    if (error != std::errc()) return NUMBER_MISSING;
    return NUMBER_OK;
}

const std::string FRAMES = "frames";
const std::string WIDTH = "width";
const std::string HEIGHT = "height";
const std::string DEFAULT_COLOR = "default_color";
const std::string DEFAULT_SLOWDOWN = "default_slowdown";
const std::string TRANSPARENCY = "transparency";
const std::string BODY = "<BODY>";
const std::string BODY_END = "</BODY>";
const std::string FRAME_COLOR = "frame_color";
const std::string FRAME_SLOWDOWN = "frame_slowdown";
const std::string FRAME_END = "end";

// The rows one after another, each filled with blanks to row_width.
std::string paddedRows(const std::vector<std::string>& rows, std::size_t row_width) {
    std::string art;
    if (rows.size() > art.max_size() / row_width) throw std::length_error("frame larger than a string holds");
    art.reserve(rows.size() * row_width);
    for (const std::string& row : rows) {
        art += row;
        art.append(row_width - row.size(), ' ');
    }
    return art;
}

} // namespace

SpriteFileReader::SpriteFileReader(std::istream& in) : in(in) {}

bool SpriteFileReader::nextLine() {
    ++line_number;
    line.clear();
    if (!std::getline(in, line)) {
        line.clear();
        return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::unique_ptr<Sprite> SpriteFileReader::fail(const std::string& text) const {
    LogManager::getInstance().writeLog(0, "ERROR: " + text + " (line " + std::to_string(line_number) + ")");
    return nullptr;
}

bool SpriteFileReader::readNumber(const std::string& keyword, const std::string& what, int& value) {
    switch (parseInt(std::string_view(line).substr(keyword.size()), value)) {
    case NUMBER_OK:
        return true;
    case NUMBER_MISSING:
        fail("Sprite " + what + " is not a number");
        return false;
    case NUMBER_OUT_OF_RANGE:
        fail("Sprite " + what + " is out of range");
        return false;
    }
    return false;
}

std::unique_ptr<Sprite> SpriteFileReader::read(const std::string& label) {
    // A declared size is bounded only by memory: a file asking for more than the machine has is
    // broken like any other.
    try {
        return readSprite(label);
    } catch (const std::bad_alloc&) {
        return fail("Sprite needs more memory than there is");
    } catch (const std::length_error&) {
        return fail("Sprite needs more memory than there is");
    }
}

std::unique_ptr<Sprite> SpriteFileReader::readSprite(const std::string& label) {
    // Header. At the end of the stream a line reads as empty, so a short file is reported as
    // the first keyword that is missing.
    nextLine();
    if (!beginsWith(line, FRAMES)) return fail("Failed to find sprite frame count");
    int frame_count = 0;
    if (!readNumber(FRAMES, "frame count", frame_count)) return nullptr;
    if (frame_count <= 0) return fail("Sprite frame count must be positive");
    auto sprite = std::make_unique<Sprite>(frame_count);
    sprite->setLabel(label);

    nextLine();
    if (!beginsWith(line, WIDTH)) return fail("Failed to find sprite width");
    int width = 0;
    if (!readNumber(WIDTH, "width", width)) return nullptr;
    if (width <= 0) return fail("Sprite width must be positive");
    sprite->setWidth(width);

    nextLine();
    if (!beginsWith(line, HEIGHT)) return fail("Failed to find sprite height");
    int height = 0;
    if (!readNumber(HEIGHT, "height", height)) return nullptr;
    if (height <= 0) return fail("Sprite height must be positive");
    sprite->setHeight(height);

    nextLine();
    if (!beginsWith(line, DEFAULT_COLOR)) return fail("Failed to find sprite default color");
    sprite->setColor(Color(line.substr(DEFAULT_COLOR.size()), 1.0f));

    nextLine();
    if (!beginsWith(line, DEFAULT_SLOWDOWN)) return fail("Failed to find sprite default slowdown");
    int slowdown = 0;
    if (!readNumber(DEFAULT_SLOWDOWN, "default slowdown", slowdown)) return nullptr;
    sprite->setSlowdown(slowdown);

    nextLine();
    if (beginsWith(line, TRANSPARENCY)) {
        // The character after the separator that follows the keyword.
        const std::size_t at = TRANSPARENCY.size() + 1;
        if (line.size() <= at) return fail("Sprite transparency has no character");
        sprite->setTransparency(line[at]);
        nextLine();
    }
    if (!beginsWith(line, BODY)) return fail("Failed to find sprite <BODY>");

    // Body: frame blocks until a line that is exactly </BODY>. Every block needs lines after
    // it, so the stream ending anywhere in here means the file was cut short.
    const std::string ended_early = "Sprite file ended before " + BODY_END;
    if (!nextLine()) return fail(ended_early);
    const auto row_width = static_cast<std::size_t>(width);
    while (line != BODY_END) {
        Frame frame;
        frame.setWidth(width);
        if (beginsWith(line, FRAME_COLOR)) {
            frame.setColor(Color(line.substr(FRAME_COLOR.size()), 1.0f));
            if (!nextLine()) return fail(ended_early);
        } else {
            frame.setColor(sprite->getColor());
        }

        // The rows are kept as the file gives them; only a frame the sprite keeps is padded to
        // its full size, so a file cut short or a dropped frame costs no more than its lines.
        std::vector<std::string> rows;
        for (int row = 0; row < height; ++row) {
            if (line.size() > row_width) {
                LogManager::getInstance().writeLog(
                    0, "ERROR: Sprite file line longer than designated width, line " + std::to_string(line_number));
                return nullptr;
            }
            rows.push_back(line);
            if (!nextLine()) return fail(ended_early);
        }

        if (beginsWith(line, FRAME_SLOWDOWN)) {
            int frame_slowdown = 0;
            if (!readNumber(FRAME_SLOWDOWN, "frame slowdown", frame_slowdown)) return nullptr;
            frame.setSlowdown(frame_slowdown);
            if (!nextLine()) return fail(ended_early);
        }
        // Whatever stands where "end" belongs closes the block; only "end" keeps the frame. A full
        // sprite drops it with its warning, so it is not padded.
        if (line == FRAME_END) {
            if (sprite->getFrameCount() < sprite->getMaxFrameCount()) frame.setString(paddedRows(rows, row_width));
            sprite->insertFrame(std::move(frame));
        }
        if (!nextLine()) return fail(ended_early);
    }
    return sprite;
}

} // namespace bw
