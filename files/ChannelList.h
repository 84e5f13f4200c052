#pragma once
// A channel list as people publish it: every data row of a CSV file, each
// with what it would put in a channel, why the radio could not store it,
// and the bands that hold it. The exact import, the fit and the window's
// import dialog all start from this.
#include "Lists.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// One thing wrong, as a sentence and as its kind: problems of one kind on
// many lines are told once ("Location above 16: lines 18-47").
struct RowProblem {
    std::string text; // Mode "AM" cannot be stored: FM (wide) or NFM (narrow) only
    std::string kind; // Mode cannot be stored: FM (wide) or NFM (narrow) only
};

// A frequency the row puts into a cell, in 10 Hz.
struct RowFrequency {
    Column column; // ColRx or ColTx
    long long value;
    bool sameAsReceive = false; // a simplex TX: its RX says what is wrong
};

struct ListRow {
    int line = 0; // where the row starts in the file, the first line being 1
    std::string name;
    std::string locationText;
    int location = 0; // Location as a channel number 1..16, else 0
    // Channel columns 1..6 as the grid shows them; empty where refused.
    std::array<std::string, kColumns - 1> cells;
    std::vector<RowFrequency> frequencies;
    // Its values the radio cannot store, in the order of the columns read.
    std::vector<RowProblem> valueProblems;
    // Its frequencies outside every band, off the channel steps, or in no
    // band together; the same whichever band is chosen.
    std::vector<RowProblem> frequencyProblems;
    unsigned bands = 0;        // bit b-1 set: band b holds every frequency of the row
    unsigned otherFilled = 0;  // bit i set: ChannelList::otherColumns[i] has a value here

    bool storable() const { return valueProblems.empty() && frequencyProblems.empty() && bands != 0; }
    bool inBand(int band) const { return band >= 1 && band <= kBands && (bands >> (band - 1) & 1u) != 0; }
};

struct ChannelList {
    std::vector<ListRow> rows;
    bool hasLocation = false;
    // Header columns that carry what the radio does not hold ("Name",
    // "Comment"), in header order; at most 32 are tracked.
    std::vector<std::string> otherColumns;
};

// The rows of CSV text. Throws one AppError headed "Cannot import <source>;
// nothing was changed:" when the text is no channel list: unreadable CSV,
// UTF-16 text, another column separator, no header row, a column twice, no
// Frequency column (nor Location when needLocation), or no data row.
// source names the input as messages should ("\"/home/a/b.csv\"").
ChannelList readChannelList(std::string_view text, const std::string& source, bool needLocation = false);

// The heading of every refused import.
std::string cannotImport(const std::string& source);

// Whether band (1..5) holds the frequency, in 10 Hz.
bool bandHolds(int band, long long frequency);
// "136-174, 220-260, 340-390, 400-490, 440-520 MHz"
std::string bandRanges();

} // namespace zk
