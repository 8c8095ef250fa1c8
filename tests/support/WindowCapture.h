#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>

namespace sf {
class RenderWindow;
}

/// A copy of what a window's back buffer holds at the moment of construction, so that a test
/// can read the pixels drawn into the frame before it is displayed. Coordinates are window
/// pixels; rectangles are inclusive of both corners and cut to the window.
class WindowCapture {
public:
    explicit WindowCapture(const sf::RenderWindow& window);

    /// The pixel at (x, y); transparent outside the window.
    sf::Color pixel(int x, int y) const;
    /// True when every pixel of the rectangle has exactly this colour.
    bool allPixels(int left, int top, int right, int bottom, sf::Color color) const;
    /// How many pixels of the rectangle have exactly this colour.
    int countPixels(int left, int top, int right, int bottom, sf::Color color) const;
    /// How many pixels of the whole window have exactly this colour.
    int countPixels(sf::Color color) const;
    /// Width and height of the capture in pixels.
    int width() const { return static_cast<int>(captured.getSize().x); }
    int height() const { return static_cast<int>(captured.getSize().y); }
    /// The captured image.
    const sf::Image& image() const { return captured; }

private:
    sf::Image captured;
};
