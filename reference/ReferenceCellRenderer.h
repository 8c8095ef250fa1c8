#pragma once

#include "CellRenderer.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

#include <optional>

/// The plain way of drawing character cells, kept as the reference the display manager's
/// batched drawing must match pixel for pixel: every cell's box is a rectangle shape and every
/// character a text of its own, each drawn straight into the window (two draw calls a cell).
class ReferenceCellRenderer : public bw::CellRenderer {
public:
    void drawCell(sf::RenderTarget& target, const Cell& cell, const sf::Font* font,
                  unsigned character_size) override;
    /// Nothing is ever held back.
    void flush(sf::RenderTarget& target, bool black_beneath) override;
    void discard() override;

private:
    // One rectangle and one text, reconfigured for every cell.
    sf::RectangleShape box;
    std::optional<sf::Text> glyph;
};
