#pragma once
// Which rows of a channel list become the radio's channels: the list as it
// is, the first 16 of one band, or the rows a user names by line.
//
// One rule holds throughout: a list the radio can take as it is (every row
// storable, Location 1-16 each once, one band) keeps its Location numbers
// when all its rows are taken. Otherwise the rows taken fill channels 1, 2,
// 3 ... in the file's order and the other channels are empty.
#include "ChannelList.h"
#include "CsvPlan.h"
#include "ImportWords.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zk {

struct ListImport {
    CsvPlan plan;
    ImportSummary summary;
};

// How many rows each band could take (storable rows it holds).
std::array<int, kBands> storableRowsPerBand(const ChannelList& list);
// The first band, in menu order, holding the most storable rows; 0 if none.
int fullestBand(const ChannelList& list);

// Indexes into list.rows of the first 16 storable rows band holds.
std::vector<std::size_t> firstRowsOfBand(const ChannelList& list, int band);

// Why the row cannot be a channel in band (1..5): its problems joined with
// "; ", or the bands it is in instead. Empty when it can.
std::string whyLeftOut(const ListRow& row, int band);

// Every problem of the rows the radio cannot store, for problemLines.
std::vector<Problem> rowProblems(const ChannelList& list, const std::vector<std::size_t>& rows);

// The list as it is, when the radio can take it so in band (0: the first
// band holding every row).
std::optional<CsvPlan> planAsItIs(const ChannelList& list, int band = 0);

// The first 16 storable rows of band (0: fullestBand). Throws an AppError
// headed cannotImport(source) when no row can be taken.
ListImport fitRows(const ChannelList& list, const std::string& source, int band = 0,
                   const ImportWording& wording = {});

// Exactly the rows on the given lines (any order, repeats ignored), all or
// nothing, at most 16, all in band (0: the first band holding them all).
ListImport pickRows(const ChannelList& list, const std::string& source, const std::vector<int>& lines,
                    int band = 0, const ImportWording& wording = {});

// The whole list, each row in the channel its Location names, or an
// AppError as readCsvPlan describes.
ListImport importAsItIs(const ChannelList& list, const std::string& source, const ImportWording& wording = {});

// "2-17", "3,5,9-12": the line numbers; an AppError for any other text.
std::vector<int> parseLineList(const std::string& text);

} // namespace zk
