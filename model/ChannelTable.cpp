#include "ChannelTable.h"

#include <stdexcept>

namespace zk {

namespace {

void checkCell(int column, int row)
{
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows)
        throw std::out_of_range("cell (" + std::to_string(column) + ", " + std::to_string(row) + ")");
}

void checkSetting(int setting)
{
    if (setting < 0 || setting >= kSettings)
        throw std::out_of_range("setting " + std::to_string(setting));
}

} // namespace

ChannelTable::ChannelTable()
{
    for (int c = 0; c < kColumns; ++c)
        cells_[static_cast<std::size_t>(c)][0] = columnHeaders()[static_cast<std::size_t>(c)];
    for (int r = 1; r < kRows; ++r)
        cells_[0][static_cast<std::size_t>(r)] = std::to_string(r);
}

const std::string& ChannelTable::cell(int column, int row) const
{
    checkCell(column, row);
    return cells_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
}

void ChannelTable::setCell(int column, int row, const std::string& text)
{
    checkCell(column, row);
    auto& target = cells_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
    if (target == text)
        return;
    target = text;
    if (listener_)
        listener_->cellChanged(column, row);
}

bool ChannelTable::rowIsEmpty(int row) const
{
    return cell(ColRx, row).empty() && cell(ColTx, row).empty();
}

void ChannelTable::clearChannels()
{
    for (int r = 1; r < kRows; ++r)
        for (int c = 1; c < kColumns; ++c)
            setCell(c, r, std::string());
}

int ChannelTable::setting(int setting) const
{
    checkSetting(setting);
    return settings_[static_cast<std::size_t>(setting)];
}

void ChannelTable::setSetting(int setting, int index)
{
    checkSetting(setting);
    const int count = static_cast<int>(settingsList(setting).size());
    const int stored = (index >= 0 && index < count) ? index : kNoSelection;
    auto& target = settings_[static_cast<std::size_t>(setting)];
    if (target == stored)
        return;
    target = stored;
    if (listener_)
        listener_->settingChanged(setting);
}

void ChannelTable::resetSettings()
{
    for (int s = 0; s < kSettings; ++s)
        setSetting(s, 0);
}

int ChannelTable::lowLimit() const
{
    return bandTable()[static_cast<std::size_t>(band_ - 1)].low;
}

int ChannelTable::highLimit() const
{
    return bandTable()[static_cast<std::size_t>(band_ - 1)].high;
}

void ChannelTable::setBand(int band)
{
    if (band < 1 || band > kBands)
        throw std::out_of_range("band " + std::to_string(band));
    band_ = band;
    // Told even when unchanged: the menu sets its check marks again.
    if (listener_)
        listener_->bandChanged(band);
}

std::string settingItem(const ChannelTable& table, int setting)
{
    const int index = table.setting(setting);
    if (index == ChannelTable::kNoSelection)
        return "(none)";
    return settingsList(setting)[static_cast<std::size_t>(index)];
}

} // namespace zk
