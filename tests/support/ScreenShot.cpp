#include "ScreenShot.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float CELL_WIDTH = 12.8f;
constexpr float CELL_HEIGHT = 32.0f;
// The glyph's background box starts 6.4 pixels below the cell's top and is 31 pixels high.
constexpr float GLYPH_DROP = 6.4f;
} // namespace

int ScreenShot::countPixels(sf::Color color, int left, int top, int right, int bottom) const {
    int count = 0;
    for (int y = std::max(top, 0); valid && y <= std::min(bottom, height() - 1); ++y)
        for (int x = std::max(left, 0); x <= std::min(right, width() - 1); ++x)
            count += image.getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)}) == color ? 1 : 0;
    return count;
}

int ScreenShot::countInCells(sf::Color color, int column0, int row0, int column1, int row1) const {
    return countPixels(color, static_cast<int>(std::floor(column0 * CELL_WIDTH)),
                       static_cast<int>(std::floor(row0 * CELL_HEIGHT)),
                       static_cast<int>(std::ceil((column1 + 1) * CELL_WIDTH + CELL_WIDTH / 10)) - 1,
                       static_cast<int>(std::ceil((row1 + 1) * CELL_HEIGHT + GLYPH_DROP)) - 1);
}
