#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>

#include <filesystem>

/// A picture of the game's window taken from the X server, judged by counting pixels of an
/// exact colour. Regions can be given in window pixels or in character cells (80 x 24 cells of
/// 12.8 x 32 pixels; a cell's glyph reaches 6.4 pixels into the row below, which a cell region
/// includes).
class ScreenShot {
public:
    /// An empty shot (isValid() false).
    ScreenShot() = default;
    /// Reads a PNG written by the screenshot tool; empty when it cannot be read.
    explicit ScreenShot(const std::filesystem::path& file) { valid = image.loadFromFile(file); }

    bool isValid() const { return valid; }
    /// Size of the picture in pixels.
    int width() const { return static_cast<int>(image.getSize().x); }
    int height() const { return static_cast<int>(image.getSize().y); }

    /// Pixels of exactly this colour in the rectangle of window pixels, corners included
    /// (clipped to the picture).
    int countPixels(sf::Color color, int left, int top, int right, int bottom) const;
    /// Pixels of exactly this colour on the cells from (column0, row0) to (column1, row1).
    int countInCells(sf::Color color, int column0, int row0, int column1, int row1) const;

    /// Writes the picture as an image file (the format follows the extension).
    bool saveTo(const std::filesystem::path& file) const { return valid && image.saveToFile(file); }

private:
    sf::Image image;
    bool valid = false;
};
