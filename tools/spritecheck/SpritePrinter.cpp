#include "SpritePrinter.h"

#include "Frame.h"
#include "Sprite.h"

#include <sstream>

namespace {

const char* const RESET = "\x1b[0m";
// Cells the engine leaves untouched are shown on a dark grey ground.
const char* const TRANSPARENT_GROUND = "\x1b[48;2;64;64;64m";
const char* const DEFAULT_GROUND = "\x1b[49m";

// Components are cut to 8 bits as the display does.
std::string foreground(const bw::Color& color) {
    return "\x1b[38;2;" + std::to_string(color.getRed() & 0xFF) + ";" + std::to_string(color.getGreen() & 0xFF) +
           ";" + std::to_string(color.getBlue() & 0xFF) + "m";
}

// Control characters and bytes outside ASCII would upset the terminal and are not one cell
// wide in the game either.
char printable(char ch) { return ch >= ' ' && ch <= '~' ? ch : '?'; }

std::string describeTransparency(const char* transparency) {
    if (transparency == nullptr) return "none";
    return std::string("'") + printable(*transparency) + "'";
}

} // namespace

SpritePrinter::SpritePrinter(bool colour) : colour(colour) {}

std::string SpritePrinter::print(const bw::Sprite& sprite) const {
    std::ostringstream out;
    out << "  size " << sprite.getWidth() << " x " << sprite.getHeight() << " cells, " << sprite.getFrameCount()
        << " of " << sprite.getMaxFrameCount() << " frames, total slowdown " << sprite.getTotalSlowdown()
        << " steps, transparency " << describeTransparency(sprite.getTransparency()) << ", default colour "
        << sprite.getColor().toHexString() << ", default slowdown " << sprite.getSlowdown() << "\n";
    for (int index = 0; index < sprite.getFrameCount(); ++index)
        out << printFrame(sprite.getFrame(index), index, sprite.getTransparency());
    return out.str();
}

std::string SpritePrinter::printFrame(const bw::Frame& frame, int index, const char* transparency) const {
    std::ostringstream out;
    out << "  frame " << index << ": slowdown " << frame.getSlowdown() << ", colour "
        << frame.getColor().toHexString() << "\n";
    const std::string text = frame.getString();
    const int width = frame.getWidth();
    if (text.empty() || width <= 0) {
        out << "    (empty)\n";
        return out.str();
    }
    const std::string ink = colour ? foreground(frame.getColor()) : "";
    for (std::size_t row = 0; row < text.size(); row += static_cast<std::size_t>(width)) {
        out << "    |" << ink;
        for (std::size_t at = row; at < row + static_cast<std::size_t>(width); ++at) {
            const char ch = text[at];
            if (colour && transparency != nullptr && ch == *transparency)
                out << TRANSPARENT_GROUND << ' ' << DEFAULT_GROUND;
            else
                out << printable(ch);
        }
        out << (colour ? RESET : "") << "|\n";
    }
    return out.str();
}
