// Feeds arbitrary bytes to the sprite file reader. Whatever the bytes, the reader must return a
// sprite or null without crashing, hanging or tripping a sanitizer, and a sprite it returns must
// be drawable in its own terms (frames of its width, a usable animation length).
#include "Frame.h"
#include "Sprite.h"
#include "SpriteFileReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sstream>
#include <string>

// A declared width is bounded only by memory, so the fuzzer plays a machine with 64 MiB for
// the program: the reader's out-of-memory path is fuzzed too, and an input never runs into
// libFuzzer's own memory limit, which would count as a crash. Every non-aligned form of new and
// delete is replaced, so that what one allocates the other frees; each block carries its size.
namespace {
constexpr std::size_t MEMORY = std::size_t{64} << 20;
constexpr std::size_t HEADER = alignof(std::max_align_t);
std::size_t in_use = 0; // the fuzzer runs one input at a time, on one thread

void* allocate(std::size_t size) noexcept {
    if (size > MEMORY - in_use) return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(HEADER + size));
    if (block == nullptr) return nullptr;
    *reinterpret_cast<std::size_t*>(block) = size;
    in_use += size;
    return block + HEADER;
}
void* allocateOrThrow(std::size_t size) {
    if (void* memory = allocate(size)) return memory;
    throw std::bad_alloc();
}
void release(void* memory) noexcept {
    if (memory == nullptr) return;
    auto* block = static_cast<unsigned char*>(memory) - HEADER;
    in_use -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}
} // namespace
void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { release(memory); }
void operator delete[](void* memory) noexcept { release(memory); }
void operator delete(void* memory, std::size_t) noexcept { release(memory); }
void operator delete[](void* memory, std::size_t) noexcept { release(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { release(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { release(memory); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    bw::SpriteFileReader reader(in);
    const auto sprite = reader.read("fuzzed");
    if (!sprite) return 0;

    if (sprite->getWidth() <= 0 || sprite->getHeight() <= 0) std::abort();
    if (sprite->getFrameCount() > sprite->getMaxFrameCount()) std::abort();
    // Frames are handed out as copies; a copy of a frame that filled most of the memory may not
    // fit beside it, which only ends these checks.
    try {
        for (int i = 0; i < sprite->getFrameCount(); ++i) {
            const bw::Frame frame = sprite->getFrame(i);
            if (frame.getWidth() != sprite->getWidth()) std::abort();
            if (frame.getString().size() != static_cast<std::size_t>(sprite->getWidth()) * sprite->getHeight())
                std::abort();
        }
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
