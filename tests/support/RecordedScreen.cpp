#include "RecordedScreen.h"

#include "DisplayManager.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <algorithm>
#include <cmath>

namespace {

// The cell a position in cells names, when it lies within a thousandth of a whole cell.
bool whole(float value, int& cell) {
    cell = static_cast<int>(std::round(value));
    return std::fabs(value - static_cast<float>(cell)) <= 1.0e-3f;
}

} // namespace

RecordedScreen::RecordedScreen()
    : columns(bw::DisplayManager::getInstance().getHorizontal()),
      rows(bw::DisplayManager::getInstance().getVertical()),
      grid(static_cast<std::size_t>(columns * rows)) {
    bw::DisplayManager::getInstance().setCellRenderer(this);
}

RecordedScreen::~RecordedScreen() { bw::DisplayManager::getInstance().setCellRenderer(nullptr); }

void RecordedScreen::clear() {
    grid.assign(grid.size(), GridCell());
    recorded.clear();
}

void RecordedScreen::drawCell(sf::RenderTarget&, const Cell& cell, const sf::Font*, unsigned) {
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const sf::Vector2f size(display.charWidth(), display.charHeight());
    const sf::Vector2f cells = cell.text_position.componentWiseDiv(size);
    recorded.push_back({cells.x, cells.y, cell.ch, cell.color,
                        {cell.box.position.componentWiseDiv(size), cell.box.size.componentWiseDiv(size)}});
    int column = 0;
    int row = 0;
    if (whole(cells.x, column) && whole(cells.y, row) && at(column, row) != nullptr)
        grid[static_cast<std::size_t>(row * columns + column)] = {cell.ch, cell.color};
}

const RecordedScreen::GridCell* RecordedScreen::at(int column, int row) const {
    if (column < 0 || column >= columns || row < 0 || row >= rows) return nullptr;
    return &grid[static_cast<std::size_t>(row * columns + column)];
}

char RecordedScreen::charAt(int column, int row) const {
    const GridCell* cell = at(column, row);
    return cell ? cell->ch : ' ';
}

bw::Color RecordedScreen::colorAt(int column, int row) const {
    const GridCell* cell = at(column, row);
    const sf::Color color = cell ? cell->color : sf::Color::Transparent;
    return bw::Color(color.r, color.g, color.b, static_cast<float>(color.a) / 255.0f);
}

std::string RecordedScreen::text(int column, int row, int count) const {
    std::string line;
    for (int i = 0; i < count; ++i) line += charAt(column + i, row);
    return line;
}

std::string RecordedScreen::row(int row) const { return text(0, row, columns); }

std::vector<int> RecordedScreen::columnsIn(int row, bw::Color color) const {
    std::vector<int> found;
    for (int column = 0; column < columns; ++column)
        if (charAt(column, row) != ' ' && at(column, row)->color == color.toDisplayColor())
            found.push_back(column);
    return found;
}

std::string RecordedScreen::toString() const {
    std::string lines;
    for (int r = 0; r < rows; ++r) lines += row(r) + "\n";
    return lines;
}

sf::Image RecordedScreen::framePixels() {
    const sf::RenderWindow* window = bw::DisplayManager::getInstance().getWindow();
    if (window == nullptr) return {};
    // Copying the window into a texture reads the back buffer, i.e. the frame being drawn.
    sf::Texture texture(window->getSize());
    texture.update(*window);
    return texture.copyToImage();
}

int RecordedScreen::countPixels(const sf::Image& image, sf::Color color, int left, int top, int right,
                                int bottom) {
    int count = 0;
    for (int y = std::max(top, 0); y <= std::min(bottom, static_cast<int>(image.getSize().y) - 1); ++y)
        for (int x = std::max(left, 0); x <= std::min(right, static_cast<int>(image.getSize().x) - 1); ++x)
            count += image.getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)}) == color ? 1 : 0;
    return count;
}
