#include "PixelMask.h"

#include <algorithm>
#include <bit>

namespace bw {

namespace {

constexpr int WORD_BITS = 64;

// The bits of one 64-pixel word from column first to column last (both within the word).
std::uint64_t wordBits(int first, int last) {
    const int count = last - first + 1;
    const std::uint64_t run = count >= WORD_BITS ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    return run << first;
}

} // namespace

void PixelMask::resize(int width, int height) {
    columns = std::max(width, 0);
    rows = std::max(height, 0);
    words_per_row = (columns + WORD_BITS - 1) / WORD_BITS;
    bits.assign(static_cast<std::size_t>(words_per_row) * static_cast<std::size_t>(rows), 0);
    first_row = 0;
    last_row = -1;
}

bool PixelMask::clip(Area& area) const {
    area.left = std::max(area.left, 0);
    area.top = std::max(area.top, 0);
    area.right = std::min(area.right, columns - 1);
    area.bottom = std::min(area.bottom, rows - 1);
    return area.left <= area.right && area.top <= area.bottom;
}

void PixelMask::mark(Area area) {
    if (!clip(area)) return;
    const int first_word = area.left / WORD_BITS;
    const int last_word = area.right / WORD_BITS;
    for (int y = area.top; y <= area.bottom; ++y) {
        std::uint64_t* row = bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(words_per_row);
        for (int word = first_word; word <= last_word; ++word) {
            const int from = word == first_word ? area.left % WORD_BITS : 0;
            const int to = word == last_word ? area.right % WORD_BITS : WORD_BITS - 1;
            row[word] |= wordBits(from, to);
        }
    }
    if (empty()) {
        first_row = area.top;
        last_row = area.bottom;
    } else {
        first_row = std::min(first_row, area.top);
        last_row = std::max(last_row, area.bottom);
    }
}

std::optional<PixelMask::Area> PixelMask::markedWithin(Area area) const {
    if (empty()) return std::nullopt;
    area.top = std::max(area.top, first_row);
    area.bottom = std::min(area.bottom, last_row);
    if (!clip(area)) return std::nullopt;
    const int first_word = area.left / WORD_BITS;
    const int last_word = area.right / WORD_BITS;
    Area found{columns, rows, -1, -1};
    for (int y = area.top; y <= area.bottom; ++y) {
        const std::uint64_t* row =
            bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(words_per_row);
        for (int word = first_word; word <= last_word; ++word) {
            const int from = word == first_word ? area.left % WORD_BITS : 0;
            const int to = word == last_word ? area.right % WORD_BITS : WORD_BITS - 1;
            const std::uint64_t hit = row[word] & wordBits(from, to);
            if (hit == 0) continue;
            found.left = std::min(found.left, word * WORD_BITS + std::countr_zero(hit));
            found.right = std::max(found.right, word * WORD_BITS + WORD_BITS - 1 - std::countl_zero(hit));
            found.top = std::min(found.top, y);
            found.bottom = y;
        }
    }
    if (found.right < 0) return std::nullopt;
    return found;
}

void PixelMask::clear() {
    if (empty()) return;
    const auto begin = bits.begin() + static_cast<long>(first_row) * words_per_row;
    const auto end = bits.begin() + static_cast<long>(last_row + 1) * words_per_row;
    std::fill(begin, end, 0);
    first_row = 0;
    last_row = -1;
}

} // namespace bw
