// import FILE.csv -o PLAN.bc: a channel plan made of a CSV channel list.
#include "Commands.h"
#include "Options.h"
#include "CsvPlan.h"
#include "Output.h"

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli import FILE.csv -o PLAN.bc\n"
    "\n"
    "Reads a channel list in the CSV layout that radio programmers and\n"
    "repeater directories exchange (header row Location,Name,Frequency,Duplex,\n"
    "Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,\n"
    "Mode,...) from FILE.csv, or from standard input when it is '-', and writes\n"
    "the channel plan into PLAN.bc, or onto standard output when it is '-'.\n"
    "Location is the channel (1 to 16); channels the list does not name stay\n"
    "empty and the settings are the new plan's. Columns are found by their\n"
    "names, in any order; others are ignored. Mode FM is Wide, NFM Narrow;\n"
    "Power is High, Low or a wattage (3 W or more is High).\n"
    "Every value must be one the radio can store, all frequencies in one of its\n"
    "bands. Otherwise every problem is listed with its line and nothing is\n"
    "written.\n";

int runImport(const Arguments& args)
{
    const InputOutput options = inputAndOutput(args, "CSV file", "PLAN.bc");
    const CsvPlan plan = isStandardStream(options.input)
        ? readCsvPlan(readInput(options.input, kCsvFileKind), "standard input")
        : importCsvFile(options.input);
    ChannelTable table;
    applyCsvPlan(plan, table);
    writePlan(options.output, table);
    return kExitSuccess;
}

} // namespace

const Command kImportCommand{"import", kUsage, runImport};

} // namespace zk::cli
