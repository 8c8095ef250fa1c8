#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <string>

namespace bw {

class Sprite;

/// Most characters the kept frames of one sprite may hold together, blanks of the padding
/// included (16 Mi, 16 MiB). Rows are padded to the declared width, so a broken file declaring a
/// width of billions could otherwise make a few short lines take gigabytes.
constexpr std::size_t MAX_SPRITE_CHARACTERS = std::size_t{1} << 24;

/// Parses the sprite file format from a stream: the header lines (frames, width, height,
/// default_color, default_slowdown, optional transparency, <BODY>), then frame blocks up to
/// </BODY>. Lines end at a line feed; a carriage return right before it (or before the end of
/// the stream) is not part of the line. Used by the resource manager and by the file tools.
///
/// Memory follows what the file holds: a frame's rows are padded as their lines arrive, and
/// nothing is reserved for the declared frame count or size, so a file that ends early costs
/// only the lines it has. Width and height have no limit of their own; MAX_SPRITE_CHARACTERS
/// bounds the frames a sprite keeps.
class SpriteFileReader {
public:
    /// Reads from in, which must outlive the reader. Open files in binary mode so that the
    /// line endings reach the reader unchanged.
    explicit SpriteFileReader(std::istream& in);

    /// Reads one sprite and labels it. Null after writing one "ERROR: ..." log line (level 0)
    /// that names the line number; warnings of a sprite that is still returned are logged too.
    std::unique_ptr<Sprite> read(const std::string& label);

    /// Number of the line read last, counting from 1 (0 before reading). At the end of the
    /// stream it is the number the missing line would have had.
    int getLineNumber() const { return line_number; }

private:
    /// Moves to the next line. False, with an empty line, at the end of the stream.
    bool nextLine();
    /// Reads the integer after keyword on the current line into value; false after logging
    /// an error when there is no number or it does not fit an int.
    bool readNumber(const std::string& keyword, const std::string& what, int& value);
    /// Logs "ERROR: <text> (line N)" for the current line and returns null.
    std::unique_ptr<Sprite> fail(const std::string& text) const;

    std::istream& in;
    std::string line;
    int line_number = 0;
};

} // namespace bw
