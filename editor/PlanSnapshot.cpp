#include "PlanSnapshot.h"

namespace zk {

PlanSnapshot capturePlan(const ChannelTable& table)
{
    PlanSnapshot plan;
    for (int c = 0; c < kColumns; ++c)
        for (int r = 0; r < kRows; ++r)
            plan.cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = table.cell(c, r);
    for (int s = 0; s < kSettings; ++s)
        plan.settings[static_cast<std::size_t>(s)] = table.setting(s);
    plan.band = table.band();
    return plan;
}

void restorePlan(const PlanSnapshot& plan, ChannelTable& table)
{
    for (int c = 0; c < kColumns; ++c)
        for (int r = 0; r < kRows; ++r)
            table.setCell(c, r, plan.cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]);
    for (int s = 0; s < kSettings; ++s)
        table.setSetting(s, plan.settings[static_cast<std::size_t>(s)]);
    table.setBand(plan.band);
}

bool sameFileContent(const PlanSnapshot& a, const PlanSnapshot& b)
{
    return a.cells == b.cells && a.settings == b.settings;
}

bool hasChannels(const ChannelTable& table)
{
    for (int r = 1; r < kRows; ++r)
        for (int c = 1; c < kColumns; ++c)
            if (!table.cell(c, r).empty())
                return true;
    return false;
}

} // namespace zk
