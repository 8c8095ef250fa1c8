#include "Frame.h"

#include "DisplayManager.h"
#include "LogManager.h"

#include <utility>

namespace bw {

Frame::Frame(int width, std::string frame_str) : width(width) { setString(std::move(frame_str)); }

int Frame::getHeight() const {
    if (width <= 0) return 0;
    return static_cast<int>(frame_str.size() / static_cast<std::size_t>(width));
}

void Frame::setString(std::string new_str) {
    // A width of 0 or less cannot describe any rows, so no string fits it.
    if (width <= 0 || new_str.size() % static_cast<std::size_t>(width) != 0) {
        LogManager::getInstance().writeLog(0, "ERROR: Frame string does not match provided dimensions");
        return;
    }
    frame_str = std::move(new_str);
}

int Frame::draw(Vector position, const char* transparency) const {
    if (frame_str.empty() || width <= 0) return 0;

    const int rows = getHeight();
    // The height as a float: a string that no longer fits a changed width is still centred on
    // its whole length, not on its whole rows.
    const float half = static_cast<float>(frame_str.size()) / static_cast<float>(width) * 0.5f;
    const auto row_width = static_cast<std::size_t>(width);
    const DisplayManager& display = DisplayManager::getInstance();
    int result = 0;
    // Every row is tried even after one fails, so a partly visible frame still shows.
    for (int row = 0; row < rows; ++row) {
        const std::string row_str = frame_str.substr(static_cast<std::size_t>(row) * row_width, row_width);
        const Vector row_pos(position.getX(), static_cast<float>(row) - half + position.getY());
        if (display.drawString(row_pos, row_str, color, CENTER_JUSTIFIED, transparency) != 0) result = -1;
    }
    return result;
}

} // namespace bw
