#pragma once

#include "CellRenderer.h"
#include "PixelMask.h"

#include <SFML/Graphics/Vertex.hpp>

#include <array>
#include <vector>

namespace bw {

/// Draws a frame's character cells in two draw calls instead of two per cell, with exactly the
/// pixels that drawing each box and each glyph in turn would give.
///
/// Boxes are opaque black, so their order among themselves does not matter: they are merged
/// into runs and drawn first, untextured and unblended (not at all onto a frame that is still
/// black: there they would change nothing). The glyphs follow in their order, on the font's
/// glyph texture. Where a glyph queued earlier reaches into a later cell's box, the box must
/// still hide it: that part of the box is queued again among the glyphs, in its place, drawn
/// with the texture's solid white corner. Glyph quads are laid out from SFML's own shaping of
/// each character, once per character.
class BatchedCellRenderer : public CellRenderer {
public:
    void drawCell(sf::RenderTarget& target, const Cell& cell, const sf::Font* font,
                  unsigned character_size) override;
    void flush(sf::RenderTarget& target, bool black_beneath) override;
    void discard() override;

    /// Forgets the glyph layouts it has learnt; to be called when the font's content changed.
    void forgetGlyphs();

private:
    /// One textured quad of a character, relative to the text's position (pixels).
    struct GlyphQuad {
        sf::Vector2f top_left;
        sf::Vector2f bottom_right;
        sf::Vector2f texture_top_left;
        sf::Vector2f texture_bottom_right;
    };
    /// The quads SFML draws for one character (none for blanks and characters without a glyph).
    struct GlyphLayout {
        bool known = false;
        std::vector<GlyphQuad> quads;
    };

    const GlyphLayout& layoutOf(char ch);
    void queueBox(const sf::FloatRect& box);
    void queueGlyph(const GlyphQuad& quad, sf::Vector2f position, sf::Color color);
    void drawBoxes(sf::RenderTarget& target);
    // Draws what is queued before going on with something the queued cells cannot share.
    void flushUnasked(sf::RenderTarget& target);

    const sf::Font* glyph_font = nullptr;
    unsigned glyph_size = 0;
    std::array<GlyphLayout, 256> layouts;

    std::vector<sf::FloatRect> boxes;
    std::vector<sf::Vertex> box_vertices;
    std::vector<sf::Vertex> glyph_vertices;
    // Pixels reached by the glyphs queued so far: the boxes that must cover them again.
    PixelMask glyph_pixels;
    // Cells were drawn into the target without the caller's flush (the font changed midway).
    bool drew_unasked = false;
};

} // namespace bw
