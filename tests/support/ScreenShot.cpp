#include "ScreenShot.h"

#include "RecordedScreen.h"

#include <cmath>

namespace {
constexpr float CELL_WIDTH = 12.8f;
constexpr float CELL_HEIGHT = 32.0f;
// The glyph's background box starts 6.4 pixels below the cell's top and is 31 pixels high.
constexpr float GLYPH_DROP = 6.4f;
} // namespace

int ScreenShot::countPixels(sf::Color color, int left, int top, int right, int bottom) const {
    return valid ? RecordedScreen::countPixels(image, color, left, top, right, bottom) : 0;
}

int ScreenShot::countInCells(sf::Color color, int column0, int row0, int column1, int row1) const {
    return countPixels(color, static_cast<int>(std::floor(column0 * CELL_WIDTH)),
                       static_cast<int>(std::floor(row0 * CELL_HEIGHT)),
                       static_cast<int>(std::ceil((column1 + 1) * CELL_WIDTH + CELL_WIDTH / 10)) - 1,
                       static_cast<int>(std::ceil((row1 + 1) * CELL_HEIGHT + GLYPH_DROP)) - 1);
}
