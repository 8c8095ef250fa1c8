#include "ScreenShot.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float CELL_WIDTH = 12.8f;
constexpr float CELL_HEIGHT = 32.0f;
// The glyph's background box starts 6.4 pixels below the cell's top and is 31 pixels high.
constexpr float GLYPH_DROP = 6.4f;
} // namespace

ScreenShot::ScreenShot(const std::filesystem::path& file) { valid = image.loadFromFile(file); }

int ScreenShot::width() const { return static_cast<int>(image.getSize().x); }

int ScreenShot::height() const { return static_cast<int>(image.getSize().y); }

int ScreenShot::countPixels(sf::Color color, int left, int top, int right, int bottom) const {
    if (!valid) return 0;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width() - 1);
    bottom = std::min(bottom, height() - 1);
    int count = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (image.getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)}) == color) ++count;
    return count;
}

int ScreenShot::countPixels(sf::Color color) const {
    return countPixels(color, 0, 0, width() - 1, height() - 1);
}

int ScreenShot::countInCells(sf::Color color, int column0, int row0, int column1, int row1) const {
    const int left = static_cast<int>(std::floor(column0 * CELL_WIDTH));
    const int top = static_cast<int>(std::floor(row0 * CELL_HEIGHT));
    const int right = static_cast<int>(std::ceil((column1 + 1) * CELL_WIDTH + CELL_WIDTH / 10)) - 1;
    const int bottom = static_cast<int>(std::ceil((row1 + 1) * CELL_HEIGHT + GLYPH_DROP)) - 1;
    return countPixels(color, left, top, right, bottom);
}

bool ScreenShot::saveTo(const std::filesystem::path& file) const { return valid && image.saveToFile(file); }
