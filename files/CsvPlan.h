#pragma once
// Channel plans as comma-separated text in the layout that open-source radio
// programmers and repeater directories exchange: one row per channel, the
// columns found by their header names.
#include "ChannelTable.h"
#include "FileIo.h"
#include "ImportWords.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

inline constexpr FileKind kCsvFileKind{"a CSV file", std::size_t{1} << 20, "1 MiB"};

// A wattage of this much or more imports as High power, anything less as Low.
inline constexpr double kHighPowerWatts = 3.0;

// The header row an export writes, in its order.
const std::vector<std::string>& csvHeader();

// What an import puts into the table: columns 1..6 of each channel (all
// empty for a channel the text does not name) and the band every frequency
// lies in (0 when there are no channels: the band stays as it is).
struct CsvPlan {
    std::array<std::array<std::string, kColumns - 1>, kChannels> channels;
    int band = 0;
};

// Reads CSV text into a plan the radio can store, each row in the channel
// its Location names. When the list is too long, spans bands or any row
// cannot be stored, one AppError headed "Cannot import <source>; nothing was
// changed:" says so: the length and bands first, then the problems with
// their lines. source names the input as messages should
// ("\"/home/a/b.csv\"", "standard input"; see csvSource).
CsvPlan readCsvPlan(std::string_view text, const std::string& source, const ImportWording& wording = {});

// Empties every channel, fills those the plan names and makes its band
// current. The settings stay: the text has none.
void applyCsvPlan(const CsvPlan& plan, ChannelTable& table);

// The header row and a row for each channel with a frequency. A table that
// holds what no CSV row can carry (a cell outside the editor's lists, a TX
// frequency without an RX one) raises one AppError naming every such cell,
// and nothing is written.
std::string writeCsvPlan(const ChannelTable& table);

// A file as import messages name it: its full path in quotes.
std::string csvSource(const std::string& path);

// readCsvPlan on a regular file of at most 1 MiB (readRegularFile).
CsvPlan importCsvFile(const std::string& path);
// writeCsvPlan into path through replaceFile: the old file stays whole on
// any failure.
void exportCsvFile(const std::string& path, const ChannelTable& table);

} // namespace zk
