// Any bytes given to the CSV import give a plan or one user-facing error,
// taken whole or through the fit's and the line list's selection. A plan
// it accepts must be one the radio can store (every record encodes); a
// whole list must come back unchanged through export and import.
#include "Codec.h"
#include "CsvPlan.h"
#include "Errors.h"
#include "ListFit.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

void mustEncode(const zk::CsvPlan& plan)
{
    zk::ChannelTable table;
    zk::applyCsvPlan(plan, table);
    for (int row = 1; row <= zk::kChannels; ++row)
        (void)zk::encodeChannelRecord(table, row); // throws, and so fails, on a cell the radio cannot store
}

// The fit, in the band the first byte names (0: the fullest), and the
// first storable rows named by line.
void selections(std::string_view text, int band)
{
    zk::ChannelList list;
    try {
        list = zk::readChannelList(text, "fuzz.csv");
    } catch (const zk::AppError&) {
        return;
    }
    try {
        const zk::ListImport fit = zk::fitRows(list, "fuzz.csv", band);
        mustEncode(fit.plan);
        (void)zk::importSummaryLine(fit.summary);
    } catch (const zk::AppError&) {
    }
    std::vector<int> lines;
    for (const zk::ListRow& row : list.rows) {
        (void)zk::whyLeftOut(row, band == 0 ? 1 : band);
        if (lines.size() < 3)
            lines.push_back(row.line);
    }
    try {
        mustEncode(zk::pickRows(list, "fuzz.csv", lines, band).plan);
    } catch (const zk::AppError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    selections(text, size == 0 ? 0 : data[0] % (zk::kBands + 1));
    zk::CsvPlan plan;
    try {
        plan = zk::readCsvPlan(text, "fuzz.csv");
    } catch (const zk::AppError&) {
        return 0;
    }
    mustEncode(plan);
    zk::ChannelTable table;
    zk::applyCsvPlan(plan, table);
    const zk::CsvPlan again = zk::readCsvPlan(zk::writeCsvPlan(table), "export");
    if (again.channels != plan.channels || (plan.band != 0 && again.band != plan.band))
        __builtin_trap();
    return 0;
}
