#include "Sprite.h"

#include "LogManager.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace bw {

namespace {
// Frames are stored as they are added, so only a modest block is reserved up front even
// when a file declares a huge frame count.
constexpr int RESERVED_FRAMES = 16;
} // namespace

Sprite::Sprite(int max_frames) : max_frame_count(max_frames) {
    frames.reserve(static_cast<std::size_t>(std::clamp(max_frames, 0, RESERVED_FRAMES)));
}

int Sprite::insertFrame(Frame frame) {
    if (frame_count >= max_frame_count) {
        LogManager::getInstance().writeLog(1, "WARNING: Attempted to add frame over maximum frame count");
        return -1;
    }
    if (frame.getSlowdown() < 0) frame.setSlowdown(slowdown);
    // Saturate instead of overflowing when a file gives absurd slowdowns.
    const long long total = static_cast<long long>(total_slowdown) + frame.getSlowdown();
    total_slowdown = static_cast<int>(std::clamp<long long>(total, INT_MIN, INT_MAX));
    frames.push_back(std::move(frame));
    ++frame_count;
    return 0;
}

Frame Sprite::getFrame(int index) const {
    if (index < 0 || index >= frame_count) return Frame();
    return frames[static_cast<std::size_t>(index)];
}

int Sprite::draw(int index, Vector position) const {
    const Frame frame = getFrame(index);
    if (frame.getString().empty()) return 0;
    return frame.draw(position, getTransparency());
}

} // namespace bw
