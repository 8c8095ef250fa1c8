#include "BatchedCellRenderer.h"

#include <SFML/Graphics/BlendMode.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/PrimitiveType.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/String.hpp>

#include <algorithm>
#include <cmath>
#include <string>

namespace bw {

namespace {

const sf::Color BOX_COLOR(0, 0, 0, 255);
// SFML keeps a 2 × 2 white square in the top left corner of every glyph texture (it textures
// underlines with it); its centre samples pure white whatever the filtering.
const sf::Vector2f WHITE_TEXEL(1.0f, 1.0f);
// SFML pads every glyph quad by one pixel so that smoothing has room at the edges.
const sf::Vector2f GLYPH_PADDING(1.0f, 1.0f);
// Coordinates further out than this are far outside any window; clamping them keeps the pixel
// arithmetic in range.
constexpr float FAR_AWAY = 1.0e6f;
// Vertices are snapped to a sub-pixel grid before rasterising; an edge this close to a pixel
// centre may land on either side of it.
constexpr float SNAP_MARGIN = 1.0f / 64.0f;

int pixelCeil(float value) { return static_cast<int>(std::ceil(std::clamp(value, -FAR_AWAY, FAR_AWAY))); }

bool isFinite(const sf::FloatRect& rect) {
    return std::isfinite(rect.position.x) && std::isfinite(rect.position.y) && std::isfinite(rect.size.x) &&
           std::isfinite(rect.size.y);
}

// The pixels a rectangle covers (those whose centres lie inside it), plus any pixel whose centre
// lies so close to an edge that snapping could bring it in.
PixelMask::Area pixelsOf(sf::Vector2f top_left, sf::Vector2f bottom_right) {
    return {pixelCeil(top_left.x - 0.5f - SNAP_MARGIN), pixelCeil(top_left.y - 0.5f - SNAP_MARGIN),
            pixelCeil(bottom_right.x - 0.5f + SNAP_MARGIN) - 1, pixelCeil(bottom_right.y - 0.5f + SNAP_MARGIN) - 1};
}

// Two triangles, split along the same diagonal as SFML's glyph quads.
void appendQuad(std::vector<sf::Vertex>& vertices, sf::Vector2f p1, sf::Vector2f p2, sf::Color color,
                sf::Vector2f uv1, sf::Vector2f uv2) {
    vertices.push_back({{p1.x, p1.y}, color, {uv1.x, uv1.y}});
    vertices.push_back({{p2.x, p1.y}, color, {uv2.x, uv1.y}});
    vertices.push_back({{p1.x, p2.y}, color, {uv1.x, uv2.y}});
    vertices.push_back({{p1.x, p2.y}, color, {uv1.x, uv2.y}});
    vertices.push_back({{p2.x, p1.y}, color, {uv2.x, uv1.y}});
    vertices.push_back({{p2.x, p2.y}, color, {uv2.x, uv2.y}});
}

// True when spans ending at right and starting at left (on the same rows) cover the same
// pixels as one span across both: they overlap or touch, or no pixel centre lies in the gap.
bool spansJoin(float right, float left) {
    if (left <= right) return true;
    return std::floor(left + SNAP_MARGIN - 0.5f) < std::ceil(right - SNAP_MARGIN - 0.5f);
}

} // namespace

void BatchedCellRenderer::drawCell(sf::RenderTarget& target, const Cell& cell, const sf::Font* font,
                                   unsigned character_size) {
    if (font != nullptr && (font != glyph_font || character_size != glyph_size)) {
        // The queued glyphs belong to another texture.
        flushUnasked(target);
        forgetGlyphs();
        glyph_font = font;
        glyph_size = character_size;
    }
    if (glyph_pixels.width() != static_cast<int>(target.getSize().x) ||
        glyph_pixels.height() != static_cast<int>(target.getSize().y)) {
        flushUnasked(target);
        glyph_pixels.resize(static_cast<int>(target.getSize().x), static_cast<int>(target.getSize().y));
    }
    // A cell at no real position cannot be seen.
    if (!isFinite(cell.box) || !std::isfinite(cell.text_position.x) || !std::isfinite(cell.text_position.y))
        return;

    queueBox(cell.box);
    if (font == nullptr) return;
    for (const GlyphQuad& quad : layoutOf(cell.ch).quads) queueGlyph(quad, cell.text_position, cell.color);
}

const BatchedCellRenderer::GlyphLayout& BatchedCellRenderer::layoutOf(char ch) {
    GlyphLayout& layout = layouts[static_cast<unsigned char>(ch)];
    if (layout.known) return layout;
    // Laid out by SFML's own text, with the same conversion of the character and the same
    // shaping, so the quads are the ones a text of this one character would draw.
    sf::Text text(*glyph_font, std::string(1, ch), glyph_size);
    text.setStyle(sf::Text::Bold);
    for (const sf::Text::ShapedGlyph& shaped : text.getShapedGlyphs()) {
        const sf::Glyph& glyph = shaped.glyph;
        // Blanks have no picture in the texture and get no quad.
        if (glyph.textureRect.size.x <= 0 || glyph.textureRect.size.y <= 0) continue;
        GlyphQuad quad;
        quad.top_left = shaped.position + (glyph.bounds.position - GLYPH_PADDING);
        quad.bottom_right = shaped.position + (glyph.bounds.position + glyph.bounds.size + GLYPH_PADDING);
        quad.texture_top_left = sf::Vector2f(glyph.textureRect.position) - GLYPH_PADDING;
        quad.texture_bottom_right = sf::Vector2f(glyph.textureRect.position + glyph.textureRect.size) + GLYPH_PADDING;
        layout.quads.push_back(quad);
    }
    layout.known = true;
    return layout;
}

void BatchedCellRenderer::queueBox(const sf::FloatRect& box) {
    const sf::Vector2f top_left = box.position;
    const sf::Vector2f bottom_right = box.position + box.size;
    // Where glyphs queued earlier reach into this box, it has to cover them again after them.
    if (const auto reached = glyph_pixels.markedWithin(pixelsOf(top_left, bottom_right))) {
        // Cut to whole pixels: an edge on a pixel boundary covers exactly the pixels on its side.
        const sf::Vector2f p1(std::max(top_left.x, static_cast<float>(reached->left)),
                              std::max(top_left.y, static_cast<float>(reached->top)));
        const sf::Vector2f p2(std::min(bottom_right.x, static_cast<float>(reached->right + 1)),
                              std::min(bottom_right.y, static_cast<float>(reached->bottom + 1)));
        if (p1.x < p2.x && p1.y < p2.y) appendQuad(glyph_vertices, p1, p2, BOX_COLOR, WHITE_TEXEL, WHITE_TEXEL);
    }
    boxes.push_back(box);
}

void BatchedCellRenderer::queueGlyph(const GlyphQuad& quad, sf::Vector2f position, sf::Color color) {
    const sf::Vector2f p1 = position + quad.top_left;
    const sf::Vector2f p2 = position + quad.bottom_right;
    appendQuad(glyph_vertices, p1, p2, color, quad.texture_top_left, quad.texture_bottom_right);
    glyph_pixels.mark(pixelsOf(p1, p2));
}

void BatchedCellRenderer::flushUnasked(sf::RenderTarget& target) {
    if (boxes.empty()) return;
    flush(target, false);
    drew_unasked = true;
}

void BatchedCellRenderer::flush(sf::RenderTarget& target, bool black_beneath) {
    // On black, a box can only hide the queued glyphs, and those parts are drawn among them.
    if (!boxes.empty() && !(black_beneath && !drew_unasked)) drawBoxes(target);
    drew_unasked = false;
    if (!glyph_vertices.empty() && glyph_font != nullptr) {
        const sf::RenderStates states(&glyph_font->getTexture(glyph_size));
        target.draw(glyph_vertices.data(), glyph_vertices.size(), sf::PrimitiveType::Triangles, states);
    }
    discard();
}

void BatchedCellRenderer::drawBoxes(sf::RenderTarget& target) {
    // Boxes on the same rows that touch or overlap become one run: fewer, larger rectangles
    // cover the same pixels.
    std::sort(boxes.begin(), boxes.end(), [](const sf::FloatRect& a, const sf::FloatRect& b) {
        if (a.position.y != b.position.y) return a.position.y < b.position.y;
        if (a.size.y != b.size.y) return a.size.y < b.size.y;
        return a.position.x < b.position.x;
    });
    box_vertices.clear();
    std::size_t run = 0;
    while (run < boxes.size()) {
        const sf::FloatRect& first = boxes[run];
        const float top = first.position.y;
        const float bottom = first.position.y + first.size.y;
        const float left = first.position.x;
        float right = first.position.x + first.size.x;
        std::size_t next = run + 1;
        for (; next < boxes.size(); ++next) {
            const sf::FloatRect& box = boxes[next];
            if (box.position.y != first.position.y || box.size.y != first.size.y) break;
            if (!spansJoin(right, box.position.x)) break;
            right = std::max(right, box.position.x + box.size.x);
        }
        appendQuad(box_vertices, {left, top}, {right, bottom}, BOX_COLOR, {}, {});
        run = next;
    }
    // Opaque black replaces whatever is beneath, so blending would change nothing.
    target.draw(box_vertices.data(), box_vertices.size(), sf::PrimitiveType::Triangles,
                sf::RenderStates(sf::BlendNone));
}

void BatchedCellRenderer::discard() {
    drew_unasked = false;
    boxes.clear();
    glyph_vertices.clear();
    glyph_pixels.clear();
}

void BatchedCellRenderer::forgetGlyphs() {
    for (GlyphLayout& layout : layouts) {
        layout.known = false;
        layout.quads.clear();
    }
}

} // namespace bw
