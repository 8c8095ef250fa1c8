#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

namespace sf {
class Font;
class RenderTarget;
} // namespace sf

namespace bw {

/// Puts the display manager's character cells into its window: for every cell an opaque black
/// box and then, on top of it, the character drawn bold. A renderer may hold cells back and draw
/// them later, as long as the window ends up exactly as if every cell had been drawn at once,
/// in order, by the time flush() returns.
class CellRenderer {
public:
    /// One character cell, in window pixels.
    struct Cell {
        sf::FloatRect box;          ///< the black box that hides what lies beneath
        sf::Vector2f text_position; ///< where the character's text is placed (its top left)
        char ch = ' ';              ///< the character
        sf::Color color;            ///< the character's colour

        bool operator==(const Cell&) const = default;
    };

    virtual ~CellRenderer() = default;

    /// Draws (or queues) one cell into target. font is null when no font could be opened: the
    /// box alone is drawn then. character_size is in pixels.
    virtual void drawCell(sf::RenderTarget& target, const Cell& cell, const sf::Font* font,
                          unsigned character_size) = 0;
    /// Draws every queued cell into target, so that whatever is done with target next comes
    /// after them. black_beneath tells that target held nothing but opaque black before the
    /// queued cells (it was just cleared), so boxes need only hide the queued characters.
    virtual void flush(sf::RenderTarget& target, bool black_beneath) = 0;
    /// Forgets the queued cells without drawing them (their window is going away).
    virtual void discard() = 0;
};

} // namespace bw
