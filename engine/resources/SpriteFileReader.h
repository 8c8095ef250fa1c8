#pragma once

#include <istream>
#include <memory>
#include <string>

namespace bw {

class Sprite;

/// Parses the sprite file format from a stream: the header lines (frames, width, height,
/// default_color, default_slowdown, optional transparency, <BODY>), then frame blocks up to
/// </BODY>. Lines end at a line feed; a carriage return right before it (or before the end of
/// the stream) is not part of the line. Used by the resource manager and by the file tools.
///
/// Memory follows what the file holds: nothing is reserved for the declared frame count or
/// size, and a frame's rows are padded to the width only once the frame is complete and kept,
/// so a file that ends early, or a frame that is dropped, costs only the lines it has. Width and
/// height have no limit of their own: a sprite too large for the machine's memory is reported
/// as an error like any other broken file.
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
    /// read() without the guard against running out of memory.
    std::unique_ptr<Sprite> readSprite(const std::string& label);
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
