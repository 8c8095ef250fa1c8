#pragma once

#include "Color.h"
#include "Vector.h"

#include <string>

namespace bw {

/// One picture of character art: rows of width characters stored one after another, one
/// colour, shown for slowdown steps (-1: the sprite's default).
class Frame {
public:
    Frame() = default;
    /// Sets the width, then the string through setString().
    Frame(int width, std::string frame_str);

    /// Characters per row.
    int getWidth() const { return width; }
    /// Changes the characters per row; the string is not checked again.
    void setWidth(int new_width) { width = new_width; }
    /// Rows = string length / width (0 for a width of 0 or less).
    int getHeight() const;
    /// All rows one after another, without line breaks.
    std::string getString() const { return frame_str; }
    /// Stores the string if its length is a multiple of a positive width; otherwise logs an
    /// error and keeps the old string.
    void setString(std::string new_str);
    /// Colour of every character of the frame.
    Color getColor() const { return color; }
    void setColor(Color new_color) { color = new_color; }
    /// Steps the frame stays on screen; -1 means the sprite's default.
    int getSlowdown() const { return slowdown; }
    void setSlowdown(int new_slowdown) { slowdown = new_slowdown; }

    /// Draws the frame centred on position (cells), skipping characters equal to *transparency.
    /// 0, or -1 when some character could not be drawn.
    int draw(Vector position, const char* transparency) const;

private:
    int width = 0;
    std::string frame_str;
    int slowdown = -1;
    Color color;
};

} // namespace bw
