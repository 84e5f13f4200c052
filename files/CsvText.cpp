#include "CsvText.h"

#include "Errors.h"

#include <algorithm>

namespace zk {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Moves past one line end (CR LF counts once) and counts it.
void skipLineEnd(std::string_view text, std::size_t& at, int& line)
{
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
        ++at;
    ++at;
    ++line;
}

// A blank line, or a row of empty cells as spreadsheets leave after the last
// used row (",,,,").
bool isBlank(const CsvRecord& record)
{
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const std::string& field) { return field.find_first_not_of(" \t") == std::string::npos; });
}

} // namespace

std::vector<CsvRecord> readCsvRecords(std::string_view text)
{
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    std::vector<CsvRecord> records;
    std::size_t at = 0;
    int line = 1;
    while (at < text.size()) {
        CsvRecord record{line, {}};
        for (;;) {
            std::string field;
            if (at < text.size() && text[at] == '"') {
                const int opened = line;
                ++at;
                for (;;) {
                    if (at >= text.size())
                        throw AppError("line " + std::to_string(opened) + ": a quoted field is not closed");
                    if (text[at] == '"') {
                        if (at + 1 < text.size() && text[at + 1] == '"') {
                            field += '"';
                            at += 2;
                            continue;
                        }
                        ++at;
                        break;
                    }
                    if (isLineEnd(text[at])) {
                        // Kept as one LF, whichever line end the file uses.
                        skipLineEnd(text, at, line);
                        field += '\n';
                        continue;
                    }
                    field += text[at++];
                }
                if (at < text.size() && text[at] != ',' && !isLineEnd(text[at]))
                    throw AppError("line " + std::to_string(line) + ": text follows a closing quote");
            } else {
                while (at < text.size() && text[at] != ',' && !isLineEnd(text[at]))
                    field += text[at++];
            }
            record.fields.push_back(std::move(field));
            if (at < text.size() && text[at] == ',') {
                ++at;
                continue;
            }
            break;
        }
        if (at < text.size())
            skipLineEnd(text, at, line);
        if (!isBlank(record))
            records.push_back(std::move(record));
    }
    return records;
}

std::string csvLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        const std::string& field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            line += field;
            continue;
        }
        line += '"';
        for (const char c : field) {
            if (c == '"')
                line += '"';
            line += c;
        }
        line += '"';
    }
    return line + "\r\n";
}

} // namespace zk
