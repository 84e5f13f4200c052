// Any bytes given to the CSV import give a plan or one user-facing error.
// A plan it accepts must be one the radio can store (every record encodes)
// and must come back unchanged through export and import.
#include "Codec.h"
#include "CsvPlan.h"
#include "Errors.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zk::CsvPlan plan;
    try {
        plan = zk::readCsvPlan(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.csv");
    } catch (const zk::AppError&) {
        return 0;
    }
    zk::ChannelTable table;
    zk::applyCsvPlan(plan, table);
    for (int row = 1; row <= zk::kChannels; ++row)
        (void)zk::encodeChannelRecord(table, row); // throws, and so fails, on a cell the radio cannot store
    const zk::CsvPlan again = zk::readCsvPlan(zk::writeCsvPlan(table), "export");
    if (again.channels != plan.channels || (plan.band != 0 && again.band != plan.band))
        __builtin_trap();
    return 0;
}
