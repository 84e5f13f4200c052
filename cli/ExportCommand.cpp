// export PLAN.bc -o FILE.csv: a channel plan as a CSV channel list.
#include "ChannelFile.h"
#include "Commands.h"
#include "Options.h"
#include "CsvPlan.h"
#include "Output.h"

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli export PLAN.bc -o FILE.csv\n"
    "\n"
    "Writes the channels of the channel file PLAN.bc, or of standard input when\n"
    "it is '-', as a CSV channel list into FILE.csv (the name is used as\n"
    "given), or onto standard output when it is '-': the header row\n"
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,\n"
    "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,\n"
    "RPT1CALL,RPT2CALL,DVCODE, then one row per channel with a frequency,\n"
    "lines ending in CR LF. The settings are not part of the list.\n"
    "A cell no CSV row can carry is reported and nothing is written.\n";

int runExport(const Arguments& args)
{
    const InputOutput options = inputAndOutput(args, "channel file", "FILE.csv");
    ChannelTable table;
    readChannelText(table, readInput(options.input, kChannelFileKind));
    writeOutput(options.output, writeCsvPlan(table));
    return kExitSuccess;
}

} // namespace

const Command kExportCommand{"export", kUsage, runExport};

} // namespace zk::cli
