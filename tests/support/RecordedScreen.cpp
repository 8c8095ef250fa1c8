#include "RecordedScreen.h"

#include "DisplayManager.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <algorithm>
#include <cmath>
#include <ranges>

RecordedScreen::RecordedScreen() { bw::DisplayManager::getInstance().setCellRenderer(this); }

RecordedScreen::~RecordedScreen() { bw::DisplayManager::getInstance().setCellRenderer(nullptr); }

void RecordedScreen::drawCell(sf::RenderTarget&, const Cell& cell, const sf::Font*, unsigned) {
    const bw::DisplayManager& display = bw::DisplayManager::getInstance();
    const sf::Vector2f size(display.charWidth(), display.charHeight());
    const sf::Vector2f at = cell.text_position.componentWiseDiv(size);
    recorded.push_back({at.x, at.y, cell.ch, cell.color,
                        {cell.box.position.componentWiseDiv(size), cell.box.size.componentWiseDiv(size)}});
}

const RecordedScreen::Draw& RecordedScreen::at(float column, float row) const {
    static const Draw blank{0, 0, ' ', sf::Color::Transparent, {}};
    // Within a thousandth of a cell counts as on it.
    const auto on = [&](const Draw& d) { return std::fabs(d.x - column) + std::fabs(d.y - row) <= 1.0e-3f; };
    const auto found = std::ranges::find_if(recorded | std::views::reverse, on);
    return found == recorded.rend() ? blank : *found;
}

std::string RecordedScreen::text(int column, int row, int count) const {
    std::string line;
    for (int i = column; i < column + count; ++i) line += at(i, row).ch;
    return line;
}

sf::Image RecordedScreen::framePixels() {
    const sf::RenderWindow* window = bw::DisplayManager::getInstance().getWindow();
    // Copying the window into a texture reads the back buffer, i.e. the frame being drawn.
    sf::Texture texture(window->getSize());
    texture.update(*window);
    return texture.copyToImage();
}

int RecordedScreen::countPixels(const sf::Image& image, sf::Color color, int left, int top, int right,
                                int bottom) {
    int count = 0;
    for (int y = std::max(top, 0); y <= std::min(bottom, static_cast<int>(image.getSize().y) - 1); ++y)
        for (int x = std::max(left, 0); x <= std::min(right, static_cast<int>(image.getSize().x) - 1); ++x)
            count += image.getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)}) == color ? 1 : 0;
    return count;
}
