#pragma once

#include <string>

namespace bw {
class Frame;
class Sprite;
} // namespace bw

/// Turns a loaded sprite into text for a terminal, so art can be reviewed without starting the
/// game: a summary line (size, frames, total slowdown, transparency, defaults), then every
/// frame with its index, slowdown and colour and its rows between bars.
class SpritePrinter {
public:
    /// colour: draw each frame in its own 24-bit colour (ANSI escape codes) and shade the cells
    /// left transparent; otherwise plain text.
    explicit SpritePrinter(bool colour);

    /// The whole report of sprite, lines ending in '\n'.
    std::string print(const bw::Sprite& sprite) const;

private:
    std::string printFrame(const bw::Frame& frame, int index, const char* transparency) const;

    bool colour;
};
