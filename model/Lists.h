#pragma once
// The fixed lists the views offer and the band table.
#include <array>
#include <string>
#include <vector>

namespace zk {

inline constexpr int kColumns = 7;    // channel number + six channel cells
inline constexpr int kRows = 17;      // header row + sixteen channels
inline constexpr int kChannels = 16;
inline constexpr int kSettings = 5;
inline constexpr int kBands = 5;

// Column numbers of the channel cells.
enum Column : int {
    ColChannel = 0,
    ColRx = 1,
    ColTx = 2,
    ColDecode = 3,
    ColEncode = 4,
    ColPower = 5,
    ColBandwidth = 6,
};

// Header texts of row 0, column 0 first.
const std::array<std::string, kColumns>& columnHeaders();

// "OFF", the 39 CTCSS tones, the 83 DCS codes normal, then inverted: 206 items.
const std::vector<std::string>& toneList();
const std::vector<std::string>& powerList();     // "Low", "High"
const std::vector<std::string>& bandwidthList(); // "Narrow", "Wide"

// The five settings lists c1..c5 (index 0..4) and their panel labels.
const std::vector<std::string>& settingsList(int setting);
const std::string& settingLabel(int setting);

struct Band {
    std::string menuItem; // object name of its menu item
    std::string caption;
    int low;              // MHz, inclusive
    int high;             // MHz, inclusive
};
// Bands 1..5 at index 0..4, in menu order.
const std::array<Band, kBands>& bandTable();

} // namespace zk
