#include "DisplayManager.h"

#include "LogManager.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Window/VideoMode.hpp>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>

// ---- Platform: is there a window system to talk to? ------------------------------------------
// SFML ends the whole program (std::abort) when it cannot reach an X server, so on X11 systems
// the server is tried here first and a missing one becomes an ordinary start-up failure. The
// trial connection stays open until the window exists: an X server with no clients left (a
// virtual one, typically) resets itself and refuses connections for a moment, which would make
// SFML's own connection right after ours fail. This is the only platform-specific code of the
// display.
#if defined(__unix__) && !defined(__APPLE__) && !defined(__ANDROID__)
#include <dlfcn.h>

namespace {

class WindowSystemConnection {
public:
    WindowSystemConnection() {
        const char* display_name = std::getenv("DISPLAY");
        if (display_name == nullptr || *display_name == '\0') return;
        // Xlib is loaded by SFML anyway; it is looked up at run time so the engine needs no X11
        // headers or link flags of its own.
        xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
        if (xlib == nullptr) return;
        using OpenDisplay = void* (*)(const char*);
        const auto open_display = reinterpret_cast<OpenDisplay>(dlsym(xlib, "XOpenDisplay"));
        close_display = reinterpret_cast<CloseDisplay>(dlsym(xlib, "XCloseDisplay"));
        if (open_display != nullptr && close_display != nullptr) connection = open_display(nullptr);
    }
    ~WindowSystemConnection() {
        if (connection != nullptr) close_display(connection);
        if (xlib != nullptr) dlclose(xlib);
    }
    WindowSystemConnection(const WindowSystemConnection&) = delete;
    WindowSystemConnection& operator=(const WindowSystemConnection&) = delete;

    bool reachable() const { return connection != nullptr; }

private:
    using CloseDisplay = int (*)(void*);
    void* xlib = nullptr;
    void* connection = nullptr;
    CloseDisplay close_display = nullptr;
};

} // namespace
#else
namespace {
struct WindowSystemConnection {
    bool reachable() const { return true; }
};
} // namespace
#endif
// ---- End of platform code ---------------------------------------------------------------------

namespace bw {

namespace {

const sf::Color BACKGROUND_COLOR(0, 0, 0, 255);

// Null when the window system is missing or SFML could not open the window.
std::unique_ptr<sf::RenderWindow> createWindow(int width, int height) {
    const WindowSystemConnection window_system;
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

DisplayManager::DisplayManager() : font(std::make_unique<sf::Font>()) {}

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
    log.writeLog(2, "Started up DisplayManager");
    setStarted(true);
    return 0;
}

void DisplayManager::shutDown() {
    if (!window) return;
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
    // Assigned in place: the reused text object refers to this font object.
    *font = std::move(opened);
    font_usable = true;
}

int DisplayManager::drawCh(Vector world_pos, char ch, Color color) const {
    if (!window) {
        LogManager::getInstance().writeLog(1,
                                           "WARNING: attempted to draw character before window initialized");
        return -1;
    }
    if (!cell_box) {
        cell_box = std::make_unique<sf::RectangleShape>();
        glyph = std::make_unique<sf::Text>(*font, "", 30);
    }
    const float cell_width = charWidth();
    const float cell_height = charHeight();
    const sf::Vector2f pixel(world_pos.getX() * cell_width, world_pos.getY() * cell_height);

    // The opaque box hides whatever an earlier character left in this cell.
    cell_box->setSize({cell_width, cell_height - 1.0f});
    cell_box->setFillColor(BACKGROUND_COLOR);
    cell_box->setPosition({pixel.x + cell_width / 10, pixel.y + cell_height / 5});
    window->draw(*cell_box, sf::RenderStates::Default);

    // SFML cannot shape text with a font that never opened (it aborts); openFont has already
    // logged why, so the cell keeps just its box.
    if (!font_usable) return 0;
    glyph->setString(std::string(1, ch));
    glyph->setStyle(sf::Text::Bold);
    glyph->setCharacterSize(static_cast<unsigned>(2 * std::min(cell_width, cell_height)));
    glyph->setFillColor(color.toDisplayColor());
    glyph->setPosition(pixel);
    window->draw(*glyph, sf::RenderStates::Default);
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
    window->display();
    window->clear(BACKGROUND_COLOR);
    return 0;
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
