// Feeds arbitrary bytes to the sprite file reader. Whatever the bytes, the reader must return a
// sprite or null without crashing, hanging or tripping a sanitizer, and a sprite it returns must
// be drawable in its own terms (frames of its width, a usable animation length).
#include "Frame.h"
#include "Sprite.h"
#include "SpriteFileReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    bw::SpriteFileReader reader(in);
    const auto sprite = reader.read("fuzzed");
    if (!sprite) return 0;

    if (sprite->getWidth() <= 0 || sprite->getHeight() <= 0) std::abort();
    if (sprite->getFrameCount() > sprite->getMaxFrameCount()) std::abort();
    for (int i = 0; i < sprite->getFrameCount(); ++i) {
        const bw::Frame frame = sprite->getFrame(i);
        if (frame.getWidth() != sprite->getWidth()) std::abort();
        if (frame.getString().size() != static_cast<std::size_t>(sprite->getWidth()) * sprite->getHeight())
            std::abort();
    }
    return 0;
}
