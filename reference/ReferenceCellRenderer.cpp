#include "ReferenceCellRenderer.h"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

#include <string>

void ReferenceCellRenderer::drawCell(sf::RenderTarget& target, const Cell& cell, const sf::Font* font,
                                     unsigned character_size) {
    box.setSize(cell.box.size);
    box.setFillColor(sf::Color(0, 0, 0, 255));
    box.setPosition(cell.box.position);
    target.draw(box, sf::RenderStates::Default);

    if (font == nullptr) return;
    if (!glyph) {
        glyph.emplace(*font, "", 30);
    } else {
        glyph->setFont(*font);
    }
    glyph->setString(std::string(1, cell.ch));
    glyph->setStyle(sf::Text::Bold);
    glyph->setCharacterSize(character_size);
    glyph->setFillColor(cell.color);
    glyph->setPosition(cell.text_position);
    target.draw(*glyph, sf::RenderStates::Default);
}

void ReferenceCellRenderer::flush(sf::RenderTarget&, bool) {}

void ReferenceCellRenderer::discard() {}
