#include "WebPlan.h"

#include "ChannelFile.h"
#include "ClipboardRules.h"
#include "CsvPlan.h"
#include "EditRules.h"
#include "Errors.h"
#include "ImportWords.h"
#include "ListFit.h"
#include "UserMessages.h"

#include <algorithm>

namespace zk::web {

namespace {

Message errorMessage(const std::exception& e)
{
    return {"error", errorBoxText(e.what()), {}};
}

// The list a tone, power or bandwidth cell offers.
const std::vector<std::string>& offeredItems(int column)
{
    if (column == ColPower)
        return powerList();
    if (column == ColBandwidth)
        return bandwidthList();
    return toneList();
}

} // namespace

WebPlan::WebPlan() : history_{capturePlan(table_)} {}

void WebPlan::record(const std::function<void()>& change)
{
    change();
    PlanSnapshot now = capturePlan(table_);
    if (now == history_[position_])
        return;
    history_.resize(position_ + 1);
    history_.push_back(std::move(now));
    position_ = history_.size() - 1;
}

Message WebPlan::openChannelFile(const std::string& bytes)
{
    Message outcome;
    record([&] {
        try {
            readChannelText(table_, bytes);
        } catch (const std::exception& e) {
            outcome = errorMessage(e);
        }
    });
    return outcome;
}

std::string WebPlan::channelFileBytes() const
{
    return writeChannelText(table_);
}

Message WebPlan::commitFrequency(int column, int row, const std::string& typed)
{
    if ((column != ColRx && column != ColTx) || row < 1 || row > kChannels)
        return {};
    const int other = column == ColRx ? ColTx : ColRx;
    const int low = table_.lowLimit();
    const int high = table_.highLimit();
    const edit::CommitDecision decision =
        edit::decideFrequencyCommit(typed, table_.cell(column, row), table_.cell(other, row), low, high);
    switch (decision.kind) {
    case edit::CommitKind::EmptyEntry:
        record([&] { clip::emptyFrequency(table_, column, row); });
        return {};
    case edit::CommitKind::NotANumber:
        // The cell keeps its text, for a correction.
        return {"error", errorBoxText(invalidFloatError(decision.text).what()), {}};
    case edit::CommitKind::Refuse:
        record([&] { clip::emptyFrequency(table_, column, row); });
        return {"notice", edit::rangeMessage(column, low, high), {}};
    case edit::CommitKind::Write:
        record([&] { table_.setCell(column, row, decision.text); });
        return {};
    case edit::CommitKind::WriteWithDefaults:
        record([&] {
            table_.setCell(column, row, decision.text);
            clip::setRowDefaults(table_, row);
        });
        return {};
    }
    return {};
}

std::string WebPlan::pick(int column, int row, const std::string& item)
{
    if (column < ColDecode || column > ColBandwidth || row < 1 || row > kChannels)
        return "not a list cell";
    if (table_.rowIsEmpty(row))
        return "the channel has no frequency";
    const std::vector<std::string>& items = offeredItems(column);
    if (std::find(items.begin(), items.end(), item) == items.end())
        return "not in the list";
    record([&] { table_.setCell(column, row, item); });
    return {};
}

void WebPlan::setSetting(int setting, int index)
{
    if (setting < 0 || setting >= kSettings)
        return;
    record([&] { table_.setSetting(setting, index); });
}

void WebPlan::setBand(int band)
{
    if (band < 1 || band > kBands)
        return;
    record([&] { table_.setBand(band); });
}

Message WebPlan::readList(const std::string& text, const std::string& source)
{
    try {
        list_ = readChannelList(text, source);
        listSource_ = source;
        return {};
    } catch (const std::exception& e) {
        list_.reset();
        return errorMessage(e);
    }
}

Message WebPlan::importList(int band, const std::string& lines)
{
    if (!list_)
        return {"error", "No channel list was read.", {}};
    try {
        ListImport chosen;
        if (!lines.empty()) {
            chosen = pickRows(*list_, listSource_, parseLineList(lines), band);
        } else if (auto asItIs = planAsItIs(*list_, band)) {
            chosen = importAsItIs(*list_, listSource_);
        } else {
            chosen = fitRows(*list_, listSource_, band);
        }
        record([&] { applyCsvPlan(chosen.plan, table_); });
        return {"notice", importSummaryLine(chosen.summary), {}};
    } catch (const std::exception& e) {
        return errorMessage(e);
    }
}

Message WebPlan::exportCsv(std::string& text) const
{
    try {
        text = writeCsvPlan(table_);
        return {};
    } catch (const std::exception& e) {
        return errorMessage(e);
    }
}

void WebPlan::undo()
{
    if (!canUndo())
        return;
    --position_;
    restorePlan(history_[position_], table_);
}

void WebPlan::redo()
{
    if (!canRedo())
        return;
    ++position_;
    restorePlan(history_[position_], table_);
}

} // namespace zk::web
