#pragma once
// Where the commands' results go, and the last check that they got there.
#include "ChannelTable.h"
#include "FileIo.h"

#include <string>

namespace zk::cli {

// "-" names standard input or standard output where a command offers it.
inline bool isStandardStream(const std::string& name)
{
    return name == "-";
}

// Every byte of the file (readRegularFile) or, for "-", of standard input,
// up to the kind's limit.
std::string readInput(const std::string& input, const FileKind& kind);

// The bytes into the file (replaced safely) or, for "-", onto standard
// output.
void writeOutput(const std::string& output, const std::string& bytes);
// The channel plan's file text, written so.
void writePlan(const std::string& output, const ChannelTable& table);

// Flushes standard output. When what the command printed did not all get
// out (a full disk, /dev/full), says "cannot write the output: <reason>"
// and turns a success into kExitError; otherwise gives status back.
int finishOutput(int status);

} // namespace zk::cli
