#pragma once

#include "CellRenderer.h"

#include <SFML/Graphics/Image.hpp>

#include <climits>
#include <string>
#include <vector>

/// Records what the display manager draws instead of putting it into the window: every cell, in
/// order, at its position in cells. A screen test then reads like the screen it expects ("row 17
/// reads < W to Start >, in red"). Installs itself as the display manager's cell renderer for its
/// lifetime; the display must have a window (drawing without one fails before any renderer is asked).
class RecordedScreen : public bw::CellRenderer {
public:
    /// One character as drawn, at its position in cells (fractions allowed).
    struct Draw {
        float x, y;
        char ch;
        sf::Color color;
        sf::FloatRect box; ///< the cell's black box, in cells
    };

    RecordedScreen();
    ~RecordedScreen() override;
    RecordedScreen(const RecordedScreen&) = delete;
    RecordedScreen& operator=(const RecordedScreen&) = delete;

    /// Forgets everything recorded (a new frame starts).
    void clear() { recorded.clear(); }
    /// Every draw since the last clear, in order, wherever it was.
    const std::vector<Draw>& draws() const { return recorded; }
    /// The last draw at exactly this position in cells; a blank one (' ', transparent) where none was.
    const Draw& at(float column, float row) const;
    /// count cells of a row from column, as text (' ' where nothing was drawn).
    std::string text(int column, int row, int count = 80) const;

    /// The frame being drawn in the display manager's window, as pixels (cells drawn so far are
    /// put into it first). For the few tests that guard the drawing itself.
    static sf::Image framePixels();
    /// Pixels of exactly this colour in the rectangle (corners included, cut to the image).
    static int countPixels(const sf::Image& image, sf::Color color, int left = 0, int top = 0,
                           int right = INT_MAX, int bottom = INT_MAX);

    void drawCell(sf::RenderTarget& target, const Cell& cell, const sf::Font* font, unsigned character_size) override;
    void flush(sf::RenderTarget&, bool) override {}
    void discard() override {}

private:
    std::vector<Draw> recorded;
};
