// encode PLAN.bc: the records the radio would receive for the plan.
#include "ChannelFile.h"
#include "Codec.h"
#include "Commands.h"
#include "Options.h"

#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli encode PLAN.bc\n"
    "\n"
    "Prints 17 lines of 32 hex digits: the memory records of channels 1 to 16,\n"
    "then the settings record, as a write to the radio would send them.\n"
    "A cell that has no record encoding is reported and nothing is printed.\n";

int runEncode(const Arguments& args)
{
    const std::string path = singleOperand(parseOptions(args, {}).operands, "channel file");
    ChannelTable table;
    openChannelFile(path, table);
    // Every record is built before any is printed, so a refused cell leaves
    // no partial output behind.
    std::string records;
    for (int row = 1; row <= kChannels; ++row)
        records += encodeChannelRecord(table, row) + '\n';
    records += encodeSettingsRecord(table) + '\n';
    std::cout << records;
    return kExitSuccess;
}

} // namespace

const Command kEncodeCommand{"encode", kUsage, runEncode};

} // namespace zk::cli
