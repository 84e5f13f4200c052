// show PLAN.bc: the plan as an aligned table, then the five settings.
#include "ChannelFile.h"
#include "Commands.h"
#include "Options.h"
#include "VisibleText.h"

#include <algorithm>
#include <iostream>
#include <sstream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli show PLAN.bc\n"
    "\n"
    "Prints the sixteen channels of a channel file as a table (channel, RX and\n"
    "TX frequency, decode and encode tone, power, bandwidth), then the five\n"
    "settings with the item each has chosen, or \"(none)\". Control characters\n"
    "in a cell are shown as escapes such as \\x1B.\n";

constexpr const char* kColumnGap = "  ";

// The label without the colon and padding the settings panel gives it.
std::string settingName(int setting)
{
    std::string name = settingLabel(setting);
    while (!name.empty() && (name.back() == ' ' || name.back() == ':'))
        name.pop_back();
    return name;
}

void printLine(std::ostream& out, const std::vector<std::string>& cells, const std::vector<std::size_t>& widths)
{
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c > 0)
            line += kColumnGap;
        line += cells[c];
        line.append(widths[c] - cells[c].size(), ' ');
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
}

std::string formatPlan(const ChannelTable& table)
{
    // Cells come from a file: printed raw, one could drive the terminal.
    std::vector<std::vector<std::string>> rows;
    std::vector<std::size_t> widths(kColumns, 0);
    for (int row = 0; row <= kChannels; ++row) {
        std::vector<std::string>& cells = rows.emplace_back();
        for (int c = 0; c < kColumns; ++c) {
            cells.push_back(visibleText(table.cell(c, row)));
            widths[c] = std::max(widths[c], cells.back().size());
        }
    }

    std::ostringstream out;
    for (const auto& cells : rows)
        printLine(out, cells, widths);
    out << '\n';
    std::size_t nameWidth = 0;
    for (int s = 0; s < kSettings; ++s)
        nameWidth = std::max(nameWidth, settingName(s).size());
    for (int s = 0; s < kSettings; ++s) {
        const std::string name = settingName(s);
        out << name << std::string(nameWidth - name.size(), ' ') << " : " << settingItem(table, s) << '\n';
    }
    return out.str();
}

int runShow(const Arguments& args)
{
    const std::string path = singleOperand(parseOptions(args, {}).operands, "channel file");
    ChannelTable table;
    openChannelFile(path, table);
    std::cout << formatPlan(table);
    return kExitSuccess;
}

} // namespace

const Command kShowCommand{"show", kUsage, runShow};

} // namespace zk::cli
