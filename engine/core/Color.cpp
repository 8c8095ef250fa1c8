#include "Color.h"

#include "LogManager.h"

#include <SFML/Graphics/Color.hpp>

#include <cctype>
#include <cstdio>

namespace bw {

Color::Color(std::uint32_t packed) { setFromPacked(packed); }

void Color::setFromPacked(std::uint32_t packed) {
    red = static_cast<int>(packed & 0xFFu);
    green = static_cast<int>((packed >> 8) & 0xFFu);
    blue = static_cast<int>((packed >> 16) & 0xFFu);
    alpha = static_cast<float>((packed >> 24) & 0xFFu) / 255.0f;
}

namespace {
int hexPair(const std::string& digits, std::size_t at) {
    return std::stoi(digits.substr(at, 2), nullptr, 16);
}
} // namespace

Color::Color(const std::string& hex_code, float alpha) {
    const bool proper_length = hex_code.size() == 6 || hex_code.size() == 8;
    const std::string digits = hex_code.size() == 8 ? hex_code.substr(2) : hex_code;
    bool all_hex = true;
    for (char c : digits) all_hex = all_hex && std::isxdigit(static_cast<unsigned char>(c));
    if (!proper_length) {
        LogManager::getInstance().writeLog(1, "WARNING: provided improper length hex code: " + hex_code);
        return;
    }
    if (!all_hex) {
        LogManager::getInstance().writeLog(1, "WARNING: provided hex code with non-hexadecimal digits: " + hex_code);
        return;
    }
    red = hexPair(digits, 0);
    green = hexPair(digits, 2);
    blue = hexPair(digits, 4);
    this->alpha = alpha;
}

sf::Color Color::toDisplayColor() const {
    return sf::Color(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                     static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(static_cast<int>(alpha * 255)));
}

std::string Color::toHexString() const {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06x", static_cast<unsigned>(red * 65536 + green * 256 + blue));
    return text;
}

std::string Color::toString() const {
    char text[96];
    std::snprintf(text, sizeof text, "(%d, %d, %d, %f)", red, green, blue, static_cast<double>(alpha));
    return text;
}

} // namespace bw
