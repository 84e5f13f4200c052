#pragma once
// A copy of everything the channel table holds, taken before and after a
// change: what undo puts back, and what tells whether the plan differs from
// the file last opened or saved.
#include "ChannelTable.h"

#include <array>
#include <string>

namespace zk {

struct PlanSnapshot {
    std::array<std::array<std::string, kRows>, kColumns> cells;
    std::array<int, kSettings> settings{};
    int band = 1;

    bool operator==(const PlanSnapshot&) const = default;
};

PlanSnapshot capturePlan(const ChannelTable& table);
// Sets every cell, setting and the band as they were; the table tells its
// listener of each cell that changes.
void restorePlan(const PlanSnapshot& plan, ChannelTable& table);
// Same rows and settings, which is all a channel file keeps (not the band).
bool sameFileContent(const PlanSnapshot& a, const PlanSnapshot& b);
// True when emptying the channels would change the table.
bool hasChannels(const ChannelTable& table);

} // namespace zk
