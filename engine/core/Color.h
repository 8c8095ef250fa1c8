#pragma once

#include <cstdint>
#include <string>

namespace sf {
class Color;
}

namespace bw {

/// The colour of a drawn character: red, green and blue 0–255 and an opacity 0.0–1.0.
class Color {
public:
    /// Opaque white.
    Color() = default;
    Color(int red, int green, int blue, float alpha) : red(red), green(green), blue(blue), alpha(alpha) {}
    /// From a packed value: red bits 0–7, green 8–15, blue 16–23, alpha bits 24–31 / 255.
    explicit Color(std::uint32_t packed);
    /// From a code "0xRRGGBB" or "RRGGBB" (an 8-character code loses its first two characters
    /// unexamined). Any other length, or digits that are not hexadecimal, log a warning and
    /// give opaque white.
    Color(const std::string& hex_code, float alpha);

    void setFromPacked(std::uint32_t packed);

    int getRed() const { return red; }
    void setRed(int value) { red = value; }
    int getGreen() const { return green; }
    void setGreen(int value) { green = value; }
    int getBlue() const { return blue; }
    void setBlue(int value) { blue = value; }
    float getAlpha() const { return alpha; }
    void setAlpha(float value) { alpha = value; }

    /// All four fields equal (alpha compared exactly).
    bool operator==(const Color& other) const = default;

    /// SFML's colour: components truncated to 8 bits, alpha × 255 truncated.
    sf::Color toDisplayColor() const;
    /// "0xrrggbb" in lower-case hexadecimal.
    std::string toHexString() const;
    /// "(r, g, b, a)" with alpha in six decimals: (255, 255, 255, 1.000000).
    std::string toString() const;

private:
    int red = 255;
    int green = 255;
    int blue = 255;
    float alpha = 1.0f;
};

inline const Color COLOR_BLACK(0, 0, 0, 1.0f);
inline const Color COLOR_RED(255, 0, 0, 1.0f);
inline const Color COLOR_GREEN(0, 255, 0, 1.0f);
inline const Color COLOR_YELLOW(255, 255, 0, 1.0f);
inline const Color COLOR_BLUE(0, 0, 255, 1.0f);
inline const Color COLOR_MAGENTA(255, 0, 255, 1.0f);
inline const Color COLOR_CYAN(0, 255, 255, 1.0f);
inline const Color COLOR_WHITE(255, 255, 255, 1.0f);

} // namespace bw
