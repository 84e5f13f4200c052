#include "ChannelFile.h"

#include "Errors.h"
#include "FileIo.h"

namespace zk {

namespace {

constexpr int kRecords = kChannels + kSettings;
// Stands in for an empty cell: the field splitter drops empty fields.
constexpr std::string_view kEmptyCellMarker = " ";

// Lines end at CR, LF or CR LF; the lines come back joined by CR LF, which
// is the text the record splitter expects. A NUL ends the text.
std::string normaliseLineEnds(std::string_view bytes)
{
    const auto nul = bytes.find('\0');
    if (nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    bool lineEnded = false; // a line end is written only once a next line starts
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (lineEnded)
                text += "\r\n"; // the empty line before this line end
            lineEnded = true;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            continue;
        }
        if (lineEnded) {
            text += "\r\n";
            lineEnded = false;
        }
        text += c;
    }
    return text;
}

void applyRowRecord(ChannelTable& table, const std::string& record, int row)
{
    const std::vector<std::string> fields = splitItems(record, ",", ",");
    for (int column = 0; column < kColumns; ++column) {
        if (column >= static_cast<int>(fields.size()))
            throw listIndexError(column);
        const std::string& field = fields[static_cast<std::size_t>(column)];
        table.setCell(column, row, field == kEmptyCellMarker ? std::string() : field);
    }
}

void applySettingsRecord(ChannelTable& table, const std::string& record, int setting)
{
    const std::vector<std::string> fields = splitItems(record, ",", ",");
    if (fields.empty())
        throw listIndexError(0);
    // setSetting keeps an index outside the list as "no selection".
    table.setSetting(setting, static_cast<int>(parseInteger(fields.front())));
}

} // namespace

std::string writeChannelText(const ChannelTable& table)
{
    std::string text;
    text.reserve(512);
    for (int row = 1; row <= kChannels; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const std::string& cell = table.cell(column, row);
            text += cell.empty() ? kEmptyCellMarker : std::string_view(cell);
            text += ',';
        }
        text += '\r';
    }
    for (int setting = 0; setting < kSettings; ++setting) {
        if (setting > 0)
            text += '\r';
        text += std::to_string(table.setting(setting));
        text += ',';
    }
    text += "\r\n";
    return text;
}

void readChannelText(ChannelTable& table, std::string_view bytes)
{
    const std::vector<std::string> records = splitItems(normaliseLineEnds(bytes), "\r", "~");
    for (int k = 0; k < kRecords; ++k) {
        if (k >= static_cast<int>(records.size()))
            throw listIndexError(k);
        const std::string& record = records[static_cast<std::size_t>(k)];
        if (k < kChannels)
            applyRowRecord(table, record, k + 1);
        else
            applySettingsRecord(table, record, k - kChannels);
    }
}

std::string channelFileName(const std::string& chosen)
{
    constexpr std::string_view extension = ".bc";
    if (chosen.size() >= extension.size() &&
        std::string_view(chosen).substr(chosen.size() - extension.size()) == extension)
        return chosen;
    return chosen + std::string(extension);
}

void saveChannelFile(const std::string& path, const ChannelTable& table)
{
    replaceFile(path, writeChannelText(table));
}

void openChannelFile(const std::string& path, ChannelTable& table)
{
    readChannelText(table, readRegularFile(path, kChannelFileKind));
}

} // namespace zk
