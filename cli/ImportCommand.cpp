// import FILE.csv -o PLAN.bc: a channel plan made of a CSV channel list,
// the whole list, the rows that fit, or the rows named; or of a stock list.
#include "Commands.h"
#include "CsvPlan.h"
#include "Errors.h"
#include "ListFit.h"
#include "Options.h"
#include "Output.h"
#include "SideFiles.h"
#include "StockLists.h"
#include "Version.h"

#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli import FILE.csv -o PLAN.bc\n"
    "       zk-h41-cli import FILE.csv -o PLAN.bc --fit [--band BAND]\n"
    "       zk-h41-cli import FILE.csv -o PLAN.bc --rows LINES [--band BAND]\n"
    "       zk-h41-cli import --list [NAME -o PLAN.bc]\n"
    "\n"
    "Reads a channel list in the CSV layout that radio programmers and\n"
    "repeater directories exchange (header row Location,Name,Frequency,Duplex,\n"
    "Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,\n"
    "Mode,...) from FILE.csv, or from standard input when it is '-', and writes\n"
    "the channel plan into PLAN.bc, or onto standard output when it is '-'.\n"
    "Columns are found by their names, in any order; others are ignored. Mode\n"
    "FM is Wide, NFM Narrow; Power is High, Low or a wattage (3 W or more is\n"
    "High). The settings are the new plan's. One line on standard error says\n"
    "what was imported and what was left out.\n"
    "\n"
    "Without --fit or --rows the whole list is taken: Location is the channel\n"
    "(1 to 16), every value must be one the radio can store and all\n"
    "frequencies in one of its bands. Otherwise nothing is written, and the\n"
    "problems are listed with their lines, one kind on many lines told once.\n"
    "\n"
    "  --fit            take the rows the radio can store of one band, the first\n"
    "                   16 in the file's order, as channels 1, 2, 3 ...; the band\n"
    "                   is the first in the band menu holding the most of them.\n"
    "                   A list the radio takes whole keeps its Locations.\n"
    "  --rows LINES     take exactly the rows starting on these lines (2-17,\n"
    "                   3,5,9-12), in the file's order, as channels 1, 2, 3 ...;\n"
    "                   at most 16, all storable and in one band\n"
    "  --band BAND      with --fit or --rows: the band, by its number 1-5 in the\n"
    "                   band menu or its range as the menu shows it (136-174)\n"
    "  --all-problems   list every problem on a line of its own\n"
    "  --list NAME      import a stock list of licence-free channels (with -o);\n"
    "                   --list alone names them. Each says where it may be used\n"
    "                   and its power limit, which you must keep.\n";

const OptionSpec kFitOption{"--fit"};
const OptionSpec kRowsOption{"--rows", "line numbers"};
const OptionSpec kBandOption{"--band", "a band"};
const OptionSpec kAllProblemsOption{"--all-problems"};
const OptionSpec kListOption{"--list", "a list name"};

std::string listFolder()
{
    return stockListFolder(applicationFolder(), kDataFolderFromPrograms);
}

int printStockLists()
{
    const std::string folder = listFolder();
    const std::vector<StockList> lists = stockLists(folder);
    if (lists.empty())
        throw AppError("No stock lists were found" + (folder.empty() ? std::string() : " in \"" + folder + "\""));
    for (const StockList& list : lists)
        std::cout << list.name << std::string(list.name.size() < 8 ? 8 - list.name.size() : 1, ' ') << list.about
                  << "\n";
    return finishOutput(kExitSuccess);
}

int bandOption(const ParsedOptions& parsed)
{
    if (!parsed.has(kBandOption.spelling))
        return 0;
    const std::string text = parsed.value(kBandOption.spelling);
    const int band = bandNamed(text);
    if (band == 0)
        throw UsageError("'--band " + text + "' is no band: give 1-5 or a range such as 136-174");
    return band;
}

int runImport(const Arguments& args)
{
    if (args == Arguments{"--list"})
        return printStockLists();
    const ParsedOptions parsed = parseOptions(
        args, {kOutputOption, kFitOption, kRowsOption, kBandOption, kAllProblemsOption, kListOption});
    const bool fit = parsed.has(kFitOption.spelling);
    const bool rows = parsed.has(kRowsOption.spelling);
    const bool stock = parsed.has(kListOption.spelling);
    if (fit && rows)
        throw UsageError("give '--fit' or '--rows', not both");
    if (parsed.has(kBandOption.spelling) && !fit && !rows)
        throw UsageError("'--band' goes with '--fit' or '--rows'");
    if (stock && (!parsed.operands.empty() || fit || rows))
        throw UsageError("'--list NAME' takes no CSV file and no '--fit' or '--rows'");
    if (!stock && parsed.operands.empty())
        throw UsageError("missing CSV file (or '-' for standard input)");
    if (parsed.operands.size() > 1)
        throw UsageError("unexpected argument '" + parsed.operands[1] + "'");
    if (!parsed.has(kOutputOption.spelling))
        throw UsageError("missing '-o PLAN.bc'");
    const int band = bandOption(parsed);
    std::vector<int> lines;
    try {
        if (rows)
            lines = parseLineList(parsed.value(kRowsOption.spelling));
    } catch (const AppError& e) {
        throw UsageError(std::string("'--rows': ") + e.what());
    }

    const std::string input = stock ? findStockList(listFolder(), parsed.value(kListOption.spelling)).path
                              : parsed.operands.front();
    const bool standardInput = isStandardStream(input);
    const std::string source = standardInput ? "standard input" : csvSource(input);
    const std::string text = readInput(input, kCsvFileKind);
    ImportWording wording;
    wording.chooseRows = "import part of it with --fit or --rows";
    wording.showAll = "; --all-problems lists them all";
    wording.allProblems = parsed.has(kAllProblemsOption.spelling);

    const ChannelList list = readChannelList(text, source, !fit && !rows);
    const ListImport result = fit    ? fitRows(list, source, band, wording)
                              : rows ? pickRows(list, source, lines, band, wording)
                                     : importAsItIs(list, source, wording);
    ChannelTable table;
    applyCsvPlan(result.plan, table);
    writePlan(parsed.value(kOutputOption.spelling), table);
    std::cerr << importSummaryLine(result.summary) << "\n";
    return kExitSuccess;
}

} // namespace

const Command kImportCommand{"import", kUsage, runImport};

} // namespace zk::cli
