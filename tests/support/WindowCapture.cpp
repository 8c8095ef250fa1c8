#include "WindowCapture.h"

#include "DisplayManager.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <algorithm>

WindowCapture::WindowCapture(const sf::RenderWindow& window) {
    // The cells the display manager still holds back belong to the frame being drawn.
    bw::DisplayManager::getInstance().flush();
    // Copying the window into a texture reads the back buffer, i.e. the frame being drawn.
    sf::Texture texture(window.getSize());
    texture.update(window);
    captured = texture.copyToImage();
}

sf::Color WindowCapture::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return sf::Color::Transparent;
    return captured.getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)});
}

int WindowCapture::countPixels(int left, int top, int right, int bottom, sf::Color color) const {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width() - 1);
    bottom = std::min(bottom, height() - 1);
    int count = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (pixel(x, y) == color) ++count;
    return count;
}

bool WindowCapture::allPixels(int left, int top, int right, int bottom, sf::Color color) const {
    const int columns = std::min(right, width() - 1) - std::max(left, 0) + 1;
    const int rows = std::min(bottom, height() - 1) - std::max(top, 0) + 1;
    return countPixels(left, top, right, bottom, color) == columns * rows;
}

int WindowCapture::countPixels(sf::Color color) const {
    return countPixels(0, 0, width() - 1, height() - 1, color);
}
