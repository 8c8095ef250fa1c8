#include "DisplayManager.h"

#include "BatchedCellRenderer.h"
#include "LogManager.h"
#include "WindowSystemProbe.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/VideoMode.hpp>

#include <algorithm>
#include <exception>
#include <utility>

namespace bw {

namespace {

const sf::Color BACKGROUND_COLOR(0, 0, 0, 255);

// Null when the window system is missing or SFML could not open the window.
std::unique_ptr<sf::RenderWindow> createWindow(int width, int height) {
    const WindowSystemProbe window_system;
    if (!window_system.reachable()) return nullptr;
    try {
        auto window = std::make_unique<sf::RenderWindow>(
            sf::VideoMode({static_cast<unsigned>(width), static_cast<unsigned>(height)}, 32),
            WINDOW_TITLE_DEFAULT, sf::Style::Titlebar, sf::State::Windowed);
        if (!window->isOpen()) return nullptr;
        return window;
    } catch (const std::exception&) {
        return nullptr;
    }
}

} // namespace

DisplayManager& DisplayManager::getInstance() {
    static DisplayManager instance;
    return instance;
}

DisplayManager::DisplayManager()
    : font(std::make_unique<sf::Font>()), batched(std::make_unique<BatchedCellRenderer>()) {}

DisplayManager::~DisplayManager() = default;

int DisplayManager::startUp() {
    LogManager& log = LogManager::getInstance();
    if (window) {
        log.writeLog(2, "Redundant DisplayManager startUp call");
        return 0;
    }
    openFont(FONT_FILE_DEFAULT);
    window = createWindow(horizontal_pixels, vertical_pixels);
    if (!window) {
        log.writeLog(0, "ERROR: Unable to allocate RenderWindow");
        return -1;
    }
    window->setMouseCursorVisible(false);
    window->setVerticalSyncEnabled(true);
    window->clear(BACKGROUND_COLOR);
    window->display();
    // What the back buffer holds after a display is unknown until the next clear.
    frame_black = false;
    shown_known = false;
    shown_frames = 0;
    log.writeLog(2, "Started up DisplayManager");
    setStarted(true);
    return 0;
}

void DisplayManager::shutDown() {
    if (!window) return;
    cells().discard();
    cells_pending = false;
    frame_cells.clear();
    window->close();
    window.reset();
    LogManager::getInstance().writeLog(0, "Shut down DisplayManager");
    setStarted(false);
}

void DisplayManager::openFont(const std::string& filename) {
    // Opened aside first: SFML leaves a font that failed to open half cleared, and drawing with
    // it aborts. This way a failure keeps the font that opened last in use.
    sf::Font opened;
    if (!opened.openFromFile(filename)) {
        LogManager::getInstance().writeLog(0, "ERROR: Unable to load font " + filename);
        return;
    }
    // The cells collected so far are drawn with the font they were drawn with.
    flush();
    // Assigned in place: renderers may keep referring to this font object.
    *font = std::move(opened);
    font_usable = true;
    batched->forgetGlyphs();
    // The same cells look different now.
    shown_known = false;
}

int DisplayManager::drawCh(Vector world_pos, char ch, Color color) const {
    if (!window) {
        LogManager::getInstance().writeLog(1,
                                           "WARNING: attempted to draw character before window initialized");
        return -1;
    }
    const float cell_width = charWidth();
    const float cell_height = charHeight();
    const sf::Vector2f pixel(world_pos.getX() * cell_width, world_pos.getY() * cell_height);

    CellRenderer::Cell cell;
    // The opaque box hides whatever an earlier character left in this cell.
    cell.box = sf::FloatRect({pixel.x + cell_width / 10, pixel.y + cell_height / 5},
                             {cell_width, cell_height - 1.0f});
    cell.text_position = pixel;
    cell.ch = ch;
    cell.color = color.toDisplayColor();
    // SFML cannot shape text with a font that never opened (it aborts); openFont has already
    // logged why, so the cell keeps just its box.
    const sf::Font* glyph_font = font_usable ? font.get() : nullptr;
    const auto character_size = static_cast<unsigned>(2 * std::min(cell_width, cell_height));
    cells().drawCell(*window, cell, glyph_font, character_size);
    cells_pending = true;
    frame_cells.push_back(cell);
    return 0;
}

int DisplayManager::drawString(Vector world_pos, std::string str, Color color, Justification just,
                               const char* transparency) const {
    LogManager& log = LogManager::getInstance();
    log.writeLog(0, "draw string has been called");
    const int length = static_cast<int>(str.size());
    float start_x = world_pos.getX();
    if (just == CENTER_JUSTIFIED) {
        start_x -= static_cast<float>(length / 2);
    } else if (just == RIGHT_JUSTIFIED) {
        start_x -= static_cast<float>(length);
    }
    for (int i = 0; i < length; ++i) {
        log.writeLog(0, str);
        if (transparency != nullptr && str[i] == *transparency) continue;
        if (drawCh(Vector(start_x + static_cast<float>(i), world_pos.getY()), str[i], color) < 0) return -1;
    }
    return 0;
}

int DisplayManager::swapBuffers() {
    if (!window) return -1;
    // The built-in renderer has drawn nothing yet, so a frame equal to the one on screen can be
    // dropped whole: the window keeps showing it, and the back buffer stays black.
    const bool unchanged =
        frame_reuse && renderer == nullptr && shown_known && !frame_touched && frame_cells == shown_cells;
    if (unchanged && kept_frames < MAX_KEPT_FRAMES) {
        cells().discard();
        cells_pending = false;
        frame_cells.clear();
        ++kept_frames;
        return 0;
    }
    drawPending();
    window->display();
    window->clear(BACKGROUND_COLOR);
    frame_black = true;
    shown_cells.swap(frame_cells);
    frame_cells.clear();
    shown_known = true;
    frame_touched = false;
    kept_frames = 0;
    ++shown_frames;
    return 0;
}

void DisplayManager::flush() const {
    if (cells_pending) frame_touched = true;
    drawPending();
}

void DisplayManager::drawPending() const {
    if (!window || !cells_pending) return;
    cells().flush(*window, frame_black);
    cells_pending = false;
    frame_black = false;
}

void DisplayManager::setCellRenderer(CellRenderer* other) {
    flush();
    renderer = other;
    shown_known = false;
}

sf::RenderWindow* DisplayManager::getWindow() const {
    flush();
    // Whoever asks may draw into the frame.
    frame_black = false;
    frame_touched = true;
    return window.get();
}

sf::WindowBase* DisplayManager::getInputWindow() const { return window.get(); }

CellRenderer& DisplayManager::cells() const {
    if (renderer != nullptr) return *renderer;
    return *batched;
}

float DisplayManager::charWidth() const {
    return static_cast<float>(horizontal_pixels) / static_cast<float>(horizontal_chars);
}

float DisplayManager::charHeight() const {
    return static_cast<float>(vertical_pixels) / static_cast<float>(vertical_chars);
}

Vector DisplayManager::spacesToPixels(Vector spaces) const {
    return {spaces.getX() * charWidth(), spaces.getY() * charHeight()};
}

Vector DisplayManager::pixelsToSpaces(Vector pixels) const {
    return {pixels.getX() / charWidth(), pixels.getY() / charHeight()};
}

} // namespace bw
