#pragma once

#include "Color.h"

#include <array>
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

    /// Cell columns and rows (80 × 24).
    int columns() const { return column_count; }
    int rows() const { return row_count; }

    /// The character in the cell: ' ' when the cell shows no ink, '?' when the ink matches no
    /// glyph of the font.
    char charAt(int column, int row) const;
    /// The most frequent non-black colour among the cell's pixels (opaque); opaque black for a
    /// cell without ink.
    bw::Color colorAt(int column, int row) const;
    /// count characters of a row, starting at column.
    std::string text(int column, int row, int count) const;
    /// A whole row, one character per cell.
    std::string row(int row) const;
    /// Cells (of the whole grid) whose colour is color.
    int countCells(bw::Color color) const;
    /// The grid as lines of text, for failure messages.
    std::string toString() const;

private:
    struct Cell {
        char ch = ' ';
        bw::Color color{0, 0, 0, 1.0f};
    };

    ScreenGrid(int columns, int rows);
    const Cell& cell(int column, int row) const;

    int column_count;
    int row_count;
    std::vector<Cell> cells;
};
