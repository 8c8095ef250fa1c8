#include "RecordedScreen.h"

#include "DisplayManager.h"

#include <cmath>

namespace {

// A position within this of a whole cell counts as that cell.
constexpr float CELL_TOLERANCE = 1.0e-3f;

bool whole(float value, int& cell) {
    const float rounded = std::round(value);
    if (std::fabs(value - rounded) > CELL_TOLERANCE) return false;
    cell = static_cast<int>(rounded);
    return true;
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
    const float x = cell.text_position.x / display.charWidth();
    const float y = cell.text_position.y / display.charHeight();
    recorded.push_back({x, y, cell.ch, cell.color});
    int column = 0;
    int row = 0;
    if (whole(x, column) && whole(y, row) && column >= 0 && column < columns && row >= 0 && row < rows)
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
    const sf::Color wanted = color.toDisplayColor();
    for (int column = 0; column < columns; ++column)
        if (const GridCell* cell = at(column, row); cell->ch != ' ' && cell->color == wanted) found.push_back(column);
    return found;
}

std::string RecordedScreen::toString() const {
    std::string lines;
    for (int r = 0; r < rows; ++r) lines += row(r) + "\n";
    return lines;
}
