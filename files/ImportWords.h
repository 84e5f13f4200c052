#pragma once
// How an import tells what it did or why it did nothing: the summary line,
// the grouped problems, bands and line numbers.
#include "Lists.h"

#include <array>
#include <string>
#include <vector>

namespace zk {

// What an import took and what it left out, by line number.
struct ImportSummary {
    int channels = 0;
    int band = 0; // 1..5
    int rows = 0; // the list's rows
    std::vector<int> beyondLimit; // storable rows of the band after the 16th
    std::vector<int> otherBand;   // storable rows the band does not hold
    std::vector<int> unstorable;  // rows the radio cannot store
    std::vector<int> notChosen;   // rows not named when rows were named
    std::vector<std::string> unstoredColumns; // of the rows taken
};

// What the caller lets a user do about a refusal.
struct ImportWording {
    // How to take part of a list that is too long or spans bands.
    std::string chooseRows = "choose which rows to import";
    // Added after "... and N more problems".
    std::string showAll;
    // Every problem on a line of its own, none grouped, none left out.
    bool allProblems = false;
};

struct Problem {
    int line;
    std::string text;
    std::string kind; // problems of one kind on many lines are told once
};

// "Imported 16 channels into VHF:136-174 from 46 rows; left out: 30 beyond
// the first 16 (lines 18-47). Not stored in the radio: Name, Comment."
std::string importSummaryLine(const ImportSummary& summary);

// Each problem as "\nline N: text", in line order; a kind on three lines or
// more as one "\nkind: lines 18-47". At most 20 such lines, then a count.
std::string problemLines(const std::vector<Problem>& problems, const ImportWording& wording);

// The band as the band menu shows it: "VHF:136-174".
std::string bandName(int band);
// The band a user names: its number 1-5 in menu order, its range as the
// menu shows it ("136-174") or the menu's caption; 0 for anything else.
int bandNamed(const std::string& text);
// "40 in VHF:136-174, 6 in UHF:400-490": the bands with a count above 0.
std::string bandCounts(const std::array<int, kBands>& counts);

// Ascending lines as ranges: "2, 5, 9-12". With most > 0, only the first
// `most` items, then ", ...".
std::string lineRanges(const std::vector<int>& lines, std::size_t most = 0);

} // namespace zk
