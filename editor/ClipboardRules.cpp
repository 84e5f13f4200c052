#include "ClipboardRules.h"

#include "EditRules.h"
#include "Trimmed.h"

#include <algorithm>
#include <span>

namespace zk::clip {

namespace {

// The channel default of a tone, power or bandwidth column.
std::string defaultFor(int column)
{
    switch (column) {
    case ColDecode:
        return edit::kDefaultDecodeTone;
    case ColEncode:
        return edit::kDefaultEncodeTone;
    case ColPower:
        return edit::kDefaultPower;
    default:
        return edit::kDefaultBandwidth;
    }
}

bool offered(int column, const std::string& text)
{
    // The channel default "0FF" is what a new row shows, so it pastes back.
    if ((column == ColDecode || column == ColEncode) && text == edit::kDefaultDecodeTone)
        return true;
    const std::vector<std::string>& items =
        column == ColPower ? powerList() : column == ColBandwidth ? bandwidthList() : toneList();
    return std::find(items.begin(), items.end(), text) != items.end();
}

// Characters that typing would have dropped, or more than a box takes.
bool typeable(const std::string& text)
{
    if (text.size() > edit::kFrequencyLength)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (edit::filterKey(i, static_cast<unsigned char>(text[i])) != edit::KeyAction::Pass)
            return false;
    return true;
}

// The outcome of typing text into a frequency cell; empty when taken.
std::string typeFrequency(ChannelTable& table, int column, int row, const std::string& text)
{
    if (!typeable(text))
        return "not a frequency";
    const int other = column == ColRx ? ColTx : ColRx;
    const edit::CommitDecision decision = edit::decideFrequencyCommit(
        text, table.cell(column, row), table.cell(other, row), table.lowLimit(), table.highLimit());
    switch (decision.kind) {
    case edit::CommitKind::EmptyEntry:
        emptyFrequency(table, column, row);
        return {};
    case edit::CommitKind::NotANumber:
        return "not a frequency";
    case edit::CommitKind::Refuse:
        return edit::rangeMessage(column, table.lowLimit(), table.highLimit());
    case edit::CommitKind::Write:
        table.setCell(column, row, decision.text);
        return {};
    case edit::CommitKind::WriteWithDefaults:
        table.setCell(column, row, decision.text);
        setRowDefaults(table, row);
        return {};
    }
    return {};
}

std::string pickItem(ChannelTable& table, int column, int row, const std::string& text)
{
    if (table.rowIsEmpty(row))
        return text.empty() ? std::string() : "the channel has no frequency";
    if (!offered(column, text))
        return "not in the list";
    table.setCell(column, row, text);
    return {};
}

std::vector<CellWrite> changes(const ChannelTable& before, const ChannelTable& after)
{
    std::vector<CellWrite> writes;
    for (int r = 1; r < kRows; ++r)
        for (int c = 1; c < kColumns; ++c)
            if (before.cell(c, r) != after.cell(c, r))
                writes.push_back({c, r, after.cell(c, r)});
    return writes;
}

// A cell's text as a message quotes it: long texts cut short, so that the
// message fits a screen.
std::string shortened(const std::string& text)
{
    constexpr std::size_t kQuoted = 20;
    if (text.size() <= kQuoted)
        return text;
    std::size_t cut = kQuoted;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // not inside a UTF-8 character
    return text.substr(0, cut) + "...";
}

// A copy to try changes on, telling no window.
ChannelTable scratchCopy(const ChannelTable& table)
{
    ChannelTable copy = table;
    copy.setListener(nullptr);
    return copy;
}

} // namespace

void emptyFrequency(ChannelTable& table, int column, int row)
{
    table.setCell(column, row, std::string());
    const int other = column == ColRx ? ColTx : ColRx;
    if (table.cell(other, row).empty())
        for (int c = ColDecode; c <= ColBandwidth; ++c)
            table.setCell(c, row, std::string());
}

void setRowDefaults(ChannelTable& table, int row)
{
    for (int c = ColDecode; c <= ColBandwidth; ++c)
        table.setCell(c, row, defaultFor(c));
}

std::string copyText(const ChannelTable& table, const CellRange& range)
{
    std::string text;
    for (int r = range.top; r <= range.bottom; ++r) {
        for (int c = range.left; c <= range.right; ++c) {
            if (c > range.left)
                text += '\t';
            text += table.cell(c, r);
        }
        text += '\n';
    }
    return text;
}

std::vector<std::vector<std::string>> splitText(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> cells;
        std::size_t from = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', from);
            cells.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
            if (tab == std::string::npos)
                break;
            from = tab + 1;
        }
        rows.push_back(std::move(cells));
        start = end + 1;
    }
    return rows;
}

PasteCheck checkPaste(const ChannelTable& table, int top, int left, const std::string& text)
{
    ChannelTable trial = scratchCopy(table);
    PasteCheck check;
    const auto rows = splitText(text);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = 0; j < rows[i].size(); ++j) {
            const int row = top + static_cast<int>(i);
            const int column = left + static_cast<int>(j);
            const std::string cellText = trimmed(rows[i][j], kBlanks);
            std::string reason;
            if (row > kChannels || column >= kColumns)
                reason = "outside the grid";
            else if (column == ColRx || column == ColTx)
                reason = typeFrequency(trial, column, row, cellText);
            else
                reason = pickItem(trial, column, row, cellText);
            if (!reason.empty())
                check.refused.push_back({column, row, cellText, reason});
        }
    }
    if (check.refused.empty())
        check.writes = changes(table, trial);
    return check;
}

std::vector<CellWrite> deleteCells(const ChannelTable& table, const CellRange& range)
{
    ChannelTable trial = scratchCopy(table);
    for (int r = range.top; r <= range.bottom; ++r)
        for (int c = range.left; c <= range.right; ++c) {
            if (c == ColRx || c == ColTx)
                emptyFrequency(trial, c, r);
            else if (!trial.rowIsEmpty(r))
                trial.setCell(c, r, defaultFor(c));
        }
    return changes(table, trial);
}

std::string oversizeReason(std::string_view text)
{
    const std::string refused = "Nothing was pasted: the clipboard holds ";
    const std::size_t gridRows = kChannels;
    const std::size_t gridCells = kColumns - 1;
    if (text.size() > kMostPastedBytes)
        return refused + std::to_string(text.size()) + " bytes, more than the grid's " + std::to_string(gridRows) +
               " rows of " + std::to_string(gridCells) + " cells take.";
    const auto rows = splitText(std::string(text));
    if (rows.size() > gridRows)
        return refused + std::to_string(rows.size()) + " rows, more than the grid's " + std::to_string(gridRows) + ".";
    for (const auto& row : rows) {
        if (row.size() > gridCells)
            return refused + "a row of " + std::to_string(row.size()) + " cells, more than the grid's " +
                   std::to_string(gridCells) + ".";
        for (const std::string& cell : row)
            if (cell.size() > kLongestPastedCell)
                return refused + "a cell of " + std::to_string(cell.size()) + " characters, more than any cell takes (" +
                       std::to_string(kLongestPastedCell) + ").";
    }
    return {};
}

std::string refusalMessage(const std::vector<Refusal>& refused)
{
    std::string message = "Nothing was pasted. These cells were refused:";
    const std::size_t named = std::min(refused.size(), kMostNamedRefusals);
    for (const Refusal& r : std::span(refused).first(named)) {
        message += "\nChannel " + std::to_string(r.row) + ", ";
        message += r.column < kColumns ? columnHeaders()[static_cast<std::size_t>(r.column)]
                                       : "column " + std::to_string(r.column);
        message += " \"" + shortened(r.text) + "\": " + r.reason;
    }
    if (refused.size() > named)
        message += "\n... and " + std::to_string(refused.size() - named) + " more cells.";
    return message;
}

} // namespace zk::clip
