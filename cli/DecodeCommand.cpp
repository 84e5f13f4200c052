// decode RECORDS.txt -o PLAN.bc: the channel file a read from the radio
// would give for these records.
#include "Codec.h"
#include "Commands.h"
#include "Options.h"
#include "Errors.h"
#include "Output.h"

#include <cctype>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli decode RECORDS.txt -o PLAN.bc\n"
    "\n"
    "Reads 17 lines of 32 hex digits (channels 1 to 16, then the settings\n"
    "record) from RECORDS.txt, or from standard input when it is '-', and\n"
    "writes the channel plan they decode to into PLAN.bc (the name is used as\n"
    "given), or onto standard output when it is '-'. Empty lines are skipped;\n"
    "lines may end in LF or CR LF. PLAN.bc must be a regular file or not exist;\n"
    "a link writes the file it leads to.\n";

constexpr int kRecordCount = kChannels + 1;

bool isRecord(const std::string& line)
{
    if (line.size() != kRecordHexLength)
        return false;
    for (char c : line)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// The records, uppercased as hex text always is, or an error naming the
// first line that is not one.
std::vector<std::string> parseRecords(const std::string& text)
{
    std::vector<std::string> records;
    std::size_t begin = 0;
    for (int lineNumber = 1; begin < text.size(); ++lineNumber) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(begin, end - begin);
        begin = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (!isRecord(line))
            throw AppError("Line " + std::to_string(lineNumber) + " is not a memory record of 32 hex digits");
        for (char& c : line)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        records.push_back(line);
    }
    if (records.size() != kRecordCount)
        throw AppError("Expected 17 memory records (channels 1 to 16, then the settings), found " +
                       std::to_string(records.size()));
    return records;
}

int runDecode(const Arguments& args)
{
    const InputOutput options = inputAndOutput(args, "records file", "PLAN.bc");
    const std::string text = readInput(options.input, kRecordsFileKind);
    const std::vector<std::string> records = parseRecords(text);
    // A fresh table: the channel numbers come from it, and a failed decode
    // stops before any file is written.
    ChannelTable table;
    for (int row = 1; row <= kChannels; ++row)
        decodeChannelRecord(table, records[static_cast<std::size_t>(row - 1)], row);
    decodeSettingsRecord(table, records.back());
    writePlan(options.output, table);
    return kExitSuccess;
}

} // namespace

const Command kDecodeCommand{"decode", kUsage, runDecode};

} // namespace zk::cli
