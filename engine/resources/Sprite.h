#pragma once

#include "Color.h"
#include "Frame.h"
#include "Vector.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace bw {

/// The ordered frames of one piece of character art, with size, default colour and slowdown,
/// an optional transparent character and the label objects find it by.
class Sprite {
public:
    /// Room for max_frames frames.
    explicit Sprite(int max_frames);
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    /// Appends a frame (slowdown -1 takes the sprite's). -1 with a warning when full.
    int insertFrame(Frame frame);
    /// A copy of frame index; an empty frame when out of range.
    Frame getFrame(int index) const;

    /// Width of every frame in characters.
    int getWidth() const { return width; }
    void setWidth(int new_width) { width = new_width; }
    /// Height of every frame in rows.
    int getHeight() const { return height; }
    void setHeight(int new_height) { height = new_height; }
    /// Frames added so far.
    int getFrameCount() const { return frame_count; }
    /// Frames the sprite has room for.
    int getMaxFrameCount() const { return max_frame_count; }
    /// Colour of frames that give none.
    Color getColor() const { return color; }
    void setColor(Color new_color) { color = new_color; }
    /// Steps each frame stays on screen unless the frame gives its own.
    int getSlowdown() const { return slowdown; }
    void setSlowdown(int new_slowdown) { slowdown = new_slowdown; }
    /// Sum of the frames' slowdowns: steps one pass of the animation takes.
    int getTotalSlowdown() const { return total_slowdown; }
    /// The transparent character, null when none.
    const char* getTransparency() const { return transparency ? &*transparency : nullptr; }
    void setTransparency(char ch) { transparency = ch; }
    /// The name objects find the sprite by.
    std::string getLabel() const { return label; }
    void setLabel(std::string new_label) { label = std::move(new_label); }

    /// Draws frame index centred on position with the sprite's transparency.
    /// 0 when nothing needed drawing (index out of range), -1 when a character failed.
    int draw(int index, Vector position) const;

private:
    int width = 0;
    int height = 0;
    int max_frame_count;
    int frame_count = 0;
    int total_slowdown = 0;
    Color color;
    int slowdown = 1;
    std::optional<char> transparency;
    std::vector<Frame> frames;
    std::string label;
};

} // namespace bw
