#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace bw {

/// A set of window pixels, one bit each, that answers quickly which marked pixels a rectangle
/// touches. Pixel indices outside the mask are ignored.
class PixelMask {
public:
    /// A rectangle of whole pixels, both corners included.
    struct Area {
        int left = 0;
        int top = 0;
        int right = -1;
        int bottom = -1;
    };

    /// Sizes the mask to width × height pixels, all unmarked.
    void resize(int width, int height);
    /// Width and height in pixels.
    int width() const { return columns; }
    int height() const { return rows; }

    /// Marks every pixel of the area.
    void mark(Area area);
    /// The smallest area holding every marked pixel inside area; nothing when none is marked.
    std::optional<Area> markedWithin(Area area) const;
    /// True when no pixel is marked.
    bool empty() const { return first_row > last_row; }
    /// Unmarks every pixel.
    void clear();

private:
    // Cuts an area to the mask; false when nothing of it is left.
    bool clip(Area& area) const;

    int columns = 0;
    int rows = 0;
    int words_per_row = 0;
    std::vector<std::uint64_t> bits;
    // The rows holding marks, so that clearing touches only those.
    int first_row = 0;
    int last_row = -1;
};

} // namespace bw
