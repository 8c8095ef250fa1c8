#pragma once

#include "CellRenderer.h"
#include "Color.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <climits>

#include <string>
#include <vector>

/// Records what the display manager draws instead of putting it into the window: every cell as
/// a character and a colour in an 80 × 24 grid, and every draw in order. A screen test then
/// reads like the screen it expects ("row 17 reads < W to Start >, in red"). Installs itself as
/// the display manager's cell renderer for its lifetime; the display must have a window (drawing
/// without one fails before any renderer is asked).
class RecordedScreen : public bw::CellRenderer {
public:
    /// One character as drawn, at its position in cells (fractions allowed).
    struct Draw {
        float x;
        float y;
        char ch;
        sf::Color color;
        sf::FloatRect box; ///< the cell's black box, in cells
    };

    RecordedScreen();
    ~RecordedScreen() override;
    RecordedScreen(const RecordedScreen&) = delete;
    RecordedScreen& operator=(const RecordedScreen&) = delete;

    /// Forgets everything recorded (a new frame starts).
    void clear();

    /// The character last drawn at a whole cell position; ' ' where nothing was drawn.
    char charAt(int column, int row) const;
    /// Its colour; transparent where nothing was drawn.
    bw::Color colorAt(int column, int row) const;
    /// count cells of a row from column, as text.
    std::string text(int column, int row, int count) const;
    /// A whole row.
    std::string row(int row) const;
    /// The columns of a row where something was drawn in this colour.
    std::vector<int> columnsIn(int row, bw::Color color) const;
    /// Every draw since the last clear, in order, wherever it was.
    const std::vector<Draw>& draws() const { return recorded; }
    /// The grid as lines of text, for failure messages.
    std::string toString() const;

    /// The frame being drawn in the display manager's window, as pixels (cells drawn so far are
    /// put into it first). For the few tests that guard the drawing itself; empty without a window.
    static sf::Image framePixels();
    /// Pixels of exactly this colour in the rectangle (corners included, cut to the image).
    static int countPixels(const sf::Image& image, sf::Color color, int left = 0, int top = 0,
                           int right = INT_MAX, int bottom = INT_MAX);

    void drawCell(sf::RenderTarget& target, const Cell& cell, const sf::Font* font, unsigned character_size) override;
    void flush(sf::RenderTarget&, bool) override {}
    void discard() override {}

private:
    struct GridCell {
        char ch = ' ';
        sf::Color color = sf::Color::Transparent;
    };
    const GridCell* at(int column, int row) const;

    int columns;
    int rows;
    std::vector<GridCell> grid;
    std::vector<Draw> recorded;
};
