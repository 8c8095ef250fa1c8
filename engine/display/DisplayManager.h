#pragma once

#include "CellRenderer.h"
#include "Color.h"
#include "Manager.h"
#include "Vector.h"

#include <memory>
#include <string>
#include <vector>

namespace sf {
class RenderWindow;
class WindowBase;
class Font;
} // namespace sf

namespace bw {

class BatchedCellRenderer;

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
///
/// The cells of a frame are collected and reach the window together, in a few draw calls, when
/// the frame is shown (or when anyone asks for the window); the window then holds exactly what
/// drawing every box and character at once, in order, would have left. A frame drawn cell for
/// cell like the one the window shows is not sent to it again (a still title screen costs next
/// to nothing), but the window is shown anew at least every MAX_KEPT_FRAMES + 1 iterations.
class DisplayManager : public Manager {
public:
    static DisplayManager& getInstance();
    ~DisplayManager() override;

    /// Opens the default font and the window. 0 on success or when already open, -1 when the
    /// window could not be created.
    int startUp() override;
    /// Closes the window; cells not yet drawn are dropped.
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
    /// Frames in a row that may be left out because they equal the one on screen.
    static constexpr int MAX_KEPT_FRAMES = 10;
    /// Frames sent to the window since start-up (those left out do not count).
    long getShownFrameCount() const { return shown_frames; }
    /// Whether a frame equal to the one on screen may be left out (on unless turned off; a
    /// benchmark of the drawing turns it off to draw the same screen again and again).
    void setFrameReuse(bool reuse) { frame_reuse = reuse; }
    /// Puts the cells drawn since the last swap into the window now, for code that reads the
    /// window's pixels through a window it kept from earlier. Nothing happens without a window.
    void flush() const;
    /// Draws cells with another renderer from now on, or with the built-in one again for null;
    /// the cells collected so far are put into the window first. Used to compare the drawing
    /// with a reference. The renderer must outlive its use.
    void setCellRenderer(CellRenderer* other);

    /// Cell columns (80) and rows (24).
    int getHorizontal() const { return horizontal_chars; }
    int getVertical() const { return vertical_chars; }
    /// Window size in pixels (1024 × 768).
    int getHorizontalPixels() const { return horizontal_pixels; }
    int getVerticalPixels() const { return vertical_pixels; }
    /// The window, null when there is none. The cells drawn so far are put into it first, so
    /// that whatever is done with the window comes after them.
    sf::RenderWindow* getWindow() const;
    /// The window for reading its events and the mouse, null when there is none. It cannot draw,
    /// so the frame being drawn stays as it is (getWindow has to assume the caller draws).
    sf::WindowBase* getInputWindow() const;

    /// Cell size in pixels (12.8 × 32).
    float charWidth() const;
    float charHeight() const;
    /// A position in cells as window pixels.
    Vector spacesToPixels(Vector spaces) const;
    /// A position in window pixels as cells.
    Vector pixelsToSpaces(Vector pixels) const;

private:
    DisplayManager();
    // The renderer in use: the built-in batched one unless another was set.
    CellRenderer& cells() const;
    // Puts the pending cells into the frame.
    void drawPending() const;

    std::unique_ptr<sf::Font> font;
    std::unique_ptr<sf::RenderWindow> window;
    int horizontal_pixels = WINDOW_HORIZONTAL_PIXELS_DEFAULT;
    int vertical_pixels = WINDOW_VERTICAL_PIXELS_DEFAULT;
    int horizontal_chars = WINDOW_HORIZONTAL_CHARS_DEFAULT;
    int vertical_chars = WINDOW_VERTICAL_CHARS_DEFAULT;
    // True once any font has opened: SFML aborts when asked to draw text with a font that never did.
    bool font_usable = false;
    // The built-in renderer, and another one set in its place (null when none).
    std::unique_ptr<BatchedCellRenderer> batched;
    CellRenderer* renderer = nullptr;
    // Cells were drawn since the last flush.
    mutable bool cells_pending = false;
    // The frame holds nothing but the black of the last clear, apart from the pending cells.
    mutable bool frame_black = false;
    // The cells of the frame being drawn and of the frame on screen, in drawing order.
    mutable std::vector<CellRenderer::Cell> frame_cells;
    std::vector<CellRenderer::Cell> shown_cells;
    // The window shows shown_cells and nothing else; the frame being drawn holds only its cells.
    bool shown_known = false;
    mutable bool frame_touched = false;
    // Frames left out in a row because they equalled the one on screen.
    bool frame_reuse = true;
    int kept_frames = 0;
    long shown_frames = 0;
};

} // namespace bw
