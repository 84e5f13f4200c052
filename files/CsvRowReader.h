#pragma once
// One data row of a channel list read into a ListRow: each column the radio
// can use checked against what it can store.
#include "ChannelList.h"
#include "CsvText.h"

#include <map>
#include <string>

namespace zk::csv {

// Column positions by lower-case header name.
using ColumnPositions = std::map<std::string, std::size_t>;

std::string lowered(std::string text);

// The row's cells, frequencies and value problems; frequencyProblems and
// bands are left to the caller, who knows the bands.
ListRow readListRow(const CsvRecord& record, const ColumnPositions& columns);

} // namespace zk::csv
