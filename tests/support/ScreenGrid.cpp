#include "ScreenGrid.h"

#include "DisplayManager.h"
#include "WindowCapture.h"

#include <SFML/Graphics/RenderWindow.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <sstream>

namespace {

// A cell's glyph lies on its black background box, which starts 1.28 x 6.4 pixels into the
// cell and reaches 6.4 pixels into the next row. These are whole pixels inside that box and
// left of the next cell, where the next glyph may begin.
constexpr int INK_WIDTH = 10;
constexpr int INK_HEIGHT = 30;
constexpr int INK_TOP = 7;
// Cell columns repeat their sub-pixel offset every five columns (5 x 12.8 = 64 pixels).
constexpr int PHASES = 5;

using Mask = std::array<bool, INK_WIDTH * INK_HEIGHT>;

struct CellPixels {
    Mask ink{};
    int ink_count = 0;
    bw::Color color{0, 0, 0, 1.0f};
};

int brightness(sf::Color c) { return std::max({c.r, c.g, c.b}); }

// Ink is every pixel at least half as bright as the brightest of the cell, so the glyph's shape
// comes out the same whatever its colour and however its edges are smoothed. The glyph's own
// colour is that of its brightest pixels; smoothed edges are darker shades of it.
CellPixels readCell(const WindowCapture& shot, int column, int row) {
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const int left = static_cast<int>(std::ceil(column * display.charWidth() + display.charWidth() / 10));
    const int top = static_cast<int>(row * display.charHeight()) + INK_TOP;
    std::array<sf::Color, INK_WIDTH * INK_HEIGHT> pixels; // transparent outside the window
    int peak = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = shot.pixel(left + static_cast<int>(i) % INK_WIDTH, top + static_cast<int>(i) / INK_WIDTH);
        peak = std::max(peak, brightness(pixels[i]));
    }
    CellPixels cell;
    if (peak == 0) return cell;
    std::map<std::uint32_t, int> colors;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (brightness(pixels[i]) == peak) ++colors[pixels[i].toInteger() | 0xFF];
        cell.ink[i] = 2 * brightness(pixels[i]) >= peak;
        cell.ink_count += cell.ink[i] ? 1 : 0;
    }
    const sf::Color most(std::max_element(colors.begin(), colors.end(), [](const auto& a, const auto& b) {
                             return a.second < b.second;
                         })->first);
    cell.color = bw::Color(most.r, most.g, most.b, 1.0f);
    return cell;
}

// Draws every printable character, one frame per sub-pixel phase, at cells far enough apart
// that no glyph touches another, and keeps their ink.
std::array<std::vector<std::pair<char, Mask>>, PHASES> drawReferenceGlyphs() {
    bw::DisplayManager& display = bw::DisplayManager::getInstance();
    std::array<std::vector<std::pair<char, Mask>>, PHASES> glyphs;
    const int per_row = display.getHorizontal() / PHASES;
    for (int phase = 0; phase < PHASES; ++phase) {
        display.swapBuffers();
        const auto column = [&](char ch) { return phase + PHASES * ((ch - '!') % per_row); };
        const auto row = [&](char ch) { return 2 * ((ch - '!') / per_row); };
        for (char ch = '!'; ch <= '~'; ++ch)
            display.drawCh(bw::Vector(static_cast<float>(column(ch)), static_cast<float>(row(ch))), ch,
                           bw::COLOR_WHITE);
        const WindowCapture shot(*display.getWindow());
        for (char ch = '!'; ch <= '~'; ++ch)
            glyphs[static_cast<std::size_t>(phase)].push_back({ch, readCell(shot, column(ch), row(ch)).ink});
    }
    display.swapBuffers();
    return glyphs;
}

} // namespace

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
            for (const auto& [ch, ink] : glyphs[static_cast<std::size_t>(column % PHASES)]) {
                int d = 0;
                for (std::size_t i = 0; i < ink.size(); ++i)
                    d += ink[i] != pixels.ink[i] ? 1 : 0;
                if (d < best) {
                    best = d;
                    cell.ch = ch;
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

std::string ScreenGrid::text(int column, int row, int count) const {
    std::string result;
    for (int i = 0; i < count; ++i)
        result += charAt(column + i, row);
    return result;
}

std::string ScreenGrid::toString() const {
    std::ostringstream out;
    for (int r = 0; r < row_count; ++r)
        out << (r < 10 ? " " : "") << r << "|" << row(r) << "|\n";
    return out.str();
}
