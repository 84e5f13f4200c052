#pragma once
// Cells to and from the clipboard as tab-separated text, the way spreadsheets
// exchange them: one line per row, a tab between cells. A paste is tried on a
// copy of the table, cell by cell, with the rules of typing and picking; it
// is taken whole or not at all.
#include "ChannelTable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zk::clip {

// Channel cells, inclusive: rows 1..16, columns 1..6.
struct CellRange {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;
};

struct CellWrite {
    int column;
    int row;
    std::string text;
    bool operator==(const CellWrite&) const = default;
};

struct Refusal {
    int column;
    int row;
    std::string text;   // as pasted
    std::string reason;
};

struct PasteCheck {
    std::vector<CellWrite> writes; // every cell the paste changes, defaults included
    std::vector<Refusal> refused;  // when not empty, nothing may be written
};

// Empties a frequency cell as an empty entry does; the row's tone, power and
// bandwidth cells go too when no frequency is left.
void emptyFrequency(ChannelTable& table, int column, int row);

// Gives the row's tone, power and bandwidth cells their channel defaults, in
// column order.
void setRowDefaults(ChannelTable& table, int row);

// The texts the grid shows, a tab between cells and a line end after each row.
std::string copyText(const ChannelTable& table, const CellRange& range);

// Lines (LF or CR LF) of tab-separated cells; a last empty line is dropped.
std::vector<std::vector<std::string>> splitText(const std::string& text);

// The paste of text with its first cell at (left, top), as typing it cell by
// cell from left to right and row by row would go, at the table's band.
PasteCheck checkPaste(const ChannelTable& table, int top, int left, const std::string& text);

// What Delete does to the range: a frequency cell is emptied as an empty
// entry is (the row's other cells go when no frequency is left), a tone,
// power or bandwidth cell of a row with a frequency returns to its default.
std::vector<CellWrite> deleteCells(const ChannelTable& table, const CellRange& range);

// The longest text a pasted cell may hold: a frequency has nine characters,
// the rest leaves room for a spreadsheet's padding.
inline constexpr std::size_t kLongestPastedCell = 64;
// The most text a paste may hold: every channel cell at its longest, each
// with its tab or line end.
inline constexpr std::size_t kMostPastedBytes =
    std::size_t{kChannels} * std::size_t{kColumns - 1} * (kLongestPastedCell + 2);
// A refusal names this many cells at most and counts the rest.
inline constexpr std::size_t kMostNamedRefusals = 20;

// Why text cannot be pasted anywhere, in one line: more text than the grid
// takes, more rows or cells in a row than the grid has, or a cell longer
// than any cell may be. Empty when the paste may be tried. The text is
// measured before it is split, so a huge paste costs no more than a small one.
std::string oversizeReason(std::string_view text);

// One message naming the first refused cells and counting the others.
std::string refusalMessage(const std::vector<Refusal>& refused);

} // namespace zk::clip
