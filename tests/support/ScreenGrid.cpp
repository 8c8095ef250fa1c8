#include "ScreenGrid.h"

#include "DisplayManager.h"
#include "WindowCapture.h"

#include <SFML/Graphics/RenderWindow.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <sstream>

namespace {

// A cell's glyph lies on its black background box, which starts 1.28 × 6.4 pixels into the
// cell and reaches 6.4 pixels into the next row. These are whole pixels inside that box and
// left of the next cell, where the next glyph may begin.
constexpr int INK_WIDTH = 10;
constexpr int INK_HEIGHT = 30;
constexpr int INK_TOP = 7;

// Cell columns repeat their sub-pixel offset every five columns (5 × 12.8 = 64 pixels).
constexpr int PHASES = 5;
constexpr char FIRST_GLYPH = '!';
constexpr char LAST_GLYPH = '~';

using Mask = std::array<bool, INK_WIDTH * INK_HEIGHT>;

struct CellPixels {
    Mask ink{};
    int ink_count = 0;
    bw::Color color{0, 0, 0, 1.0f};
};

int brightness(sf::Color c) { return std::max({c.r, c.g, c.b}); }

// Ink is every pixel at least half as bright as the brightest of the cell, so the glyph's
// shape comes out the same whatever its colour and however its edges are smoothed.
CellPixels readCell(const WindowCapture& shot, int column, int row) {
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const int left = static_cast<int>(std::ceil(column * display.charWidth() + display.charWidth() / 10));
    const int top = static_cast<int>(row * display.charHeight()) + INK_TOP;

    CellPixels cell;
    int peak = 0;
    for (int y = 0; y < INK_HEIGHT; ++y)
        for (int x = 0; x < INK_WIDTH; ++x)
            if (left + x < shot.width() && top + y < shot.height())
                peak = std::max(peak, brightness(shot.pixel(left + x, top + y)));
    if (peak == 0) return cell;

    // The glyph's own colour is that of its fully covered pixels, the brightest ones; smoothed
    // edges are darker shades of it.
    std::map<std::uint32_t, int> colors;
    for (int y = 0; y < INK_HEIGHT; ++y) {
        for (int x = 0; x < INK_WIDTH; ++x) {
            if (left + x >= shot.width() || top + y >= shot.height()) continue;
            const sf::Color c = shot.pixel(left + x, top + y);
            if (brightness(c) == peak) ++colors[(static_cast<std::uint32_t>(c.r) << 16) | (c.g << 8) | c.b];
        }
    }
    for (int y = 0; y < INK_HEIGHT; ++y) {
        for (int x = 0; x < INK_WIDTH; ++x) {
            if (left + x >= shot.width() || top + y >= shot.height()) continue;
            const bool ink = 2 * brightness(shot.pixel(left + x, top + y)) >= peak;
            cell.ink[static_cast<std::size_t>(y * INK_WIDTH + x)] = ink;
            if (ink) ++cell.ink_count;
        }
    }
    const auto most = std::max_element(colors.begin(), colors.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    cell.color = bw::Color(static_cast<int>(most->first >> 16), static_cast<int>((most->first >> 8) & 0xFF),
                           static_cast<int>(most->first & 0xFF), 1.0f);
    return cell;
}

struct Glyph {
    char ch;
    Mask ink;
};

// Draws every printable character, one frame per sub-pixel phase, at cells far enough apart
// that no glyph touches another, and keeps their ink.
std::array<std::vector<Glyph>, PHASES> drawReferenceGlyphs() {
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const sf::RenderWindow& window = *display.getWindow();
    std::array<std::vector<Glyph>, PHASES> glyphs;
    const int per_row = display.getHorizontal() / PHASES;
    for (int phase = 0; phase < PHASES; ++phase) {
        display.swapBuffers();
        std::vector<std::pair<char, std::pair<int, int>>> placed;
        int slot = 0;
        for (char ch = FIRST_GLYPH; ch <= LAST_GLYPH; ++ch, ++slot) {
            const int column = phase + PHASES * (slot % per_row);
            const int row = 2 * (slot / per_row);
            display.drawCh(bw::Vector(static_cast<float>(column), static_cast<float>(row)), ch,
                           bw::COLOR_WHITE);
            placed.push_back({ch, {column, row}});
        }
        const WindowCapture shot(window);
        for (const auto& [ch, at] : placed)
            glyphs[static_cast<std::size_t>(phase)].push_back({ch, readCell(shot, at.first, at.second).ink});
    }
    display.swapBuffers();
    return glyphs;
}

int difference(const Mask& a, const Mask& b) {
    int count = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        count += a[i] != b[i] ? 1 : 0;
    return count;
}

} // namespace

ScreenGrid::ScreenGrid(int columns, int rows)
    : column_count(columns), row_count(rows), cells(static_cast<std::size_t>(columns * rows)) {}

ScreenGrid ScreenGrid::capture() {
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    ScreenGrid grid(display.getHorizontal(), display.getVertical());
    if (!display.getWindow()) return grid;

    const WindowCapture shot(*display.getWindow());
    const auto glyphs = drawReferenceGlyphs();
    for (int row = 0; row < grid.row_count; ++row) {
        for (int column = 0; column < grid.column_count; ++column) {
            const CellPixels pixels = readCell(shot, column, row);
            Cell& cell = grid.cells[static_cast<std::size_t>(row * grid.column_count + column)];
            cell.color = pixels.color;
            if (pixels.ink_count == 0) continue;
            int best = pixels.ink_count + 1;
            cell.ch = '?';
            for (const Glyph& glyph : glyphs[static_cast<std::size_t>(column % PHASES)]) {
                const int d = difference(pixels.ink, glyph.ink);
                if (d < best) {
                    best = d;
                    cell.ch = glyph.ch;
                }
            }
            // A neighbour's overhang may add a few pixels; anything further off is no glyph.
            if (best > std::max(6, pixels.ink_count / 5)) cell.ch = '?';
        }
    }
    return grid;
}

const ScreenGrid::Cell& ScreenGrid::cell(int column, int row) const {
    static const Cell outside;
    if (column < 0 || column >= column_count || row < 0 || row >= row_count) return outside;
    return cells[static_cast<std::size_t>(row * column_count + column)];
}

char ScreenGrid::charAt(int column, int row) const { return cell(column, row).ch; }

bw::Color ScreenGrid::colorAt(int column, int row) const { return cell(column, row).color; }

std::string ScreenGrid::text(int column, int row, int count) const {
    std::string result;
    for (int i = 0; i < count; ++i)
        result += charAt(column + i, row);
    return result;
}

std::string ScreenGrid::row(int row) const { return text(0, row, column_count); }

int ScreenGrid::countCells(bw::Color color) const {
    return static_cast<int>(
        std::count_if(cells.begin(), cells.end(), [&](const Cell& c) { return c.color == color; }));
}

std::string ScreenGrid::toString() const {
    std::ostringstream out;
    for (int r = 0; r < row_count; ++r)
        out << (r < 10 ? " " : "") << r << "|" << row(r) << "|\n";
    return out.str();
}
