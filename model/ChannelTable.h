#pragma once
// The one in-memory channel plan: 7 x 17 cells of text, five settings
// indices and the current band. Views (the grid, the lists, the band menu)
// follow it through a listener; it knows nothing of windows.
#include "Lists.h"

#include <array>
#include <string>

namespace zk {

class ChannelTableListener {
public:
    virtual ~ChannelTableListener() = default;
    virtual void cellChanged(int column, int row) = 0;
    virtual void settingChanged(int setting) = 0;
    virtual void bandChanged(int band) = 0;
};

class ChannelTable {
public:
    static constexpr int kNoSelection = -1;

    // Header row, channel numbers "1".."16", empty channel cells,
    // every setting at index 0 and band 1 current.
    ChannelTable();

    const std::string& cell(int column, int row) const;
    void setCell(int column, int row, const std::string& text);

    // True when both frequency cells of the row (1..16) are empty.
    bool rowIsEmpty(int row) const;
    // Empties columns 1..6 of rows 1..16; headers and channel numbers stay.
    void clearChannels();

    // Settings 0..4 are the lists c1..c5. An index outside the list is kept
    // as kNoSelection, as a list with nothing chosen would show it.
    int setting(int setting) const;
    void setSetting(int setting, int index);
    void resetSettings();

    // Current band 1..5 and its limits in whole MHz.
    int band() const { return band_; }
    int lowLimit() const;
    int highLimit() const;
    // Makes a band current; touches nothing else.
    void setBand(int band);

    void setListener(ChannelTableListener* listener) { listener_ = listener; }

private:
    std::array<std::array<std::string, kRows>, kColumns> cells_;
    std::array<int, kSettings> settings_{};
    int band_ = 1;
    ChannelTableListener* listener_ = nullptr;
};

// The item a setting has chosen, or "(none)" when nothing is chosen.
std::string settingItem(const ChannelTable& table, int setting);

} // namespace zk
