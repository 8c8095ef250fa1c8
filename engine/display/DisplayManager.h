#pragma once

#include "Color.h"
#include "Manager.h"
#include "Vector.h"

#include <memory>
#include <string>

namespace sf {
class RenderWindow;
class Font;
class RectangleShape;
class Text;
} // namespace sf

namespace bw {

constexpr int WINDOW_HORIZONTAL_PIXELS_DEFAULT = 1024;
constexpr int WINDOW_VERTICAL_PIXELS_DEFAULT = 768;
constexpr int WINDOW_HORIZONTAL_CHARS_DEFAULT = 80;
constexpr int WINDOW_VERTICAL_CHARS_DEFAULT = 24;
inline const std::string WINDOW_TITLE_DEFAULT = "VelloranBrackwen";
inline const std::string FONT_FILE_DEFAULT = "bw-font.ttf";

/// How drawString places a string relative to its position.
enum Justification {
    LEFT_JUSTIFIED = 0,
    CENTER_JUSTIFIED = 1,
    RIGHT_JUSTIFIED = 2,
};

/// The engine's one window: a grid of 80 × 24 character cells of 12.8 × 32 pixels on a
/// 1024 × 768 window. Every character is drawn bold in one font on a black cell box.
class DisplayManager : public Manager {
public:
    static DisplayManager& getInstance();
    ~DisplayManager() override;

    /// Opens the default font and the window. 0 on success or when already open, -1 when the
    /// window could not be created.
    int startUp() override;
    /// Closes the window.
    void shutDown() override;

    /// Opens a font file (a path relative to the working directory) for every character drawn
    /// from now on. A failure is only logged and keeps the font in use.
    void openFont(const std::string& filename);

    /// Draws one character on its black cell box at a cell position (fractions allowed). Until
    /// some font has opened, only the box is drawn. -1 without a window.
    int drawCh(Vector world_pos, char ch, Color color) const;
    /// Draws a string one cell per character. A character equal to *transparency is skipped and
    /// leaves its cell untouched. -1 as soon as a character cannot be drawn.
    int drawString(Vector world_pos, std::string str, Color color, Justification just,
                   const char* transparency = nullptr) const;
    /// Shows the frame drawn since the last call and clears the back buffer to black.
    /// -1 without a window.
    int swapBuffers();

    /// Cell columns (80) and rows (24).
    int getHorizontal() const { return horizontal_chars; }
    int getVertical() const { return vertical_chars; }
    /// Window size in pixels (1024 × 768).
    int getHorizontalPixels() const { return horizontal_pixels; }
    int getVerticalPixels() const { return vertical_pixels; }
    /// The window, null when there is none.
    sf::RenderWindow* getWindow() const { return window.get(); }

    /// Cell size in pixels (12.8 × 32).
    float charWidth() const;
    float charHeight() const;
    /// A position in cells as window pixels.
    Vector spacesToPixels(Vector spaces) const;
    /// A position in window pixels as cells.
    Vector pixelsToSpaces(Vector pixels) const;

private:
    DisplayManager();

    std::unique_ptr<sf::Font> font;
    std::unique_ptr<sf::RenderWindow> window;
    int horizontal_pixels = WINDOW_HORIZONTAL_PIXELS_DEFAULT;
    int vertical_pixels = WINDOW_VERTICAL_PIXELS_DEFAULT;
    int horizontal_chars = WINDOW_HORIZONTAL_CHARS_DEFAULT;
    int vertical_chars = WINDOW_VERTICAL_CHARS_DEFAULT;
    // True once any font has opened: SFML aborts when asked to draw text with a font that never did.
    bool font_usable = false;
    // Reused for every character; created on the first drawCh after a window exists.
    mutable std::unique_ptr<sf::RectangleShape> cell_box;
    mutable std::unique_ptr<sf::Text> glyph;
};

} // namespace bw
