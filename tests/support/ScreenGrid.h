#pragma once

#include "Color.h"

#include <string>
#include <vector>

/// The frame being drawn in the engine's window, read back as its grid of character cells:
/// the character and the colour of every cell, so that a screen test reads like the screen it
/// expects ("row 17 reads < W to Start >, in red"). Characters are recognised by comparing each
/// cell with the glyphs the display manager draws with its current font at the same sub-pixel
/// offset; text drawn at whole cell positions is read exactly, anything else shows as '?'.
class ScreenGrid {
public:
    /// Reads the back buffer of the display manager's window (the frame drawn since the last
    /// swap), then draws the reference glyphs, which leaves the back buffer cleared to black.
    /// Needs an open window; without one every cell is empty.
    static ScreenGrid capture();

    /// Cell rows (24).
    int rows() const { return row_count; }
    /// The character in the cell: ' ' when the cell shows no ink, '?' when the ink matches no
    /// glyph of the font.
    char charAt(int column, int row) const { return cell(column, row).ch; }
    /// The most frequent of the brightest colours among the cell's pixels (opaque); opaque black
    /// for a cell without ink.
    bw::Color colorAt(int column, int row) const { return cell(column, row).color; }
    /// count characters of a row, starting at column.
    std::string text(int column, int row, int count) const;
    /// A whole row, one character per cell.
    std::string row(int row) const { return text(0, row, column_count); }
    /// The grid as lines of text, for failure messages.
    std::string toString() const;

private:
    struct Cell {
        char ch = ' ';
        bw::Color color{0, 0, 0, 1.0f};
    };

    ScreenGrid(int columns, int rows)
        : column_count(columns), row_count(rows), cells(static_cast<std::size_t>(columns * rows)) {}
    const Cell& cell(int column, int row) const;

    int column_count;
    int row_count;
    std::vector<Cell> cells;
};
