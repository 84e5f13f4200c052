#pragma once
// Comma-separated text as spreadsheets write it: fields in double quotes may
// hold commas, quotes (doubled) and line breaks; records end in CR LF, LF or
// a lone CR; a UTF-8 byte-order mark at the start is skipped.
#include <string>
#include <string_view>
#include <vector>

namespace zk {

struct CsvRecord {
    int line = 0; // where the record starts, the first line being 1
    std::vector<std::string> fields;
};

// Every record, blank lines and rows of empty fields left out. A quoted field that never closes, or
// text after a closing quote, raises an AppError naming its line.
std::vector<CsvRecord> readCsvRecords(std::string_view text);

// One record with its CR LF; a field is quoted only when it needs to be.
std::string csvLine(const std::vector<std::string>& fields);

} // namespace zk
