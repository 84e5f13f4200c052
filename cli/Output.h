#pragma once
// Where the commands' results go, and the last check that they got there.
#include "ChannelTable.h"

#include <string>

namespace zk::cli {

// "-" names standard input or standard output where a command offers it.
inline bool isStandardStream(const std::string& name)
{
    return name == "-";
}

// The channel plan into the file (replaced safely) or, for "-", onto
// standard output.
void writePlan(const std::string& output, const ChannelTable& table);

// Flushes standard output. When what the command printed did not all get
// out (a full disk, /dev/full), says "cannot write the output: <reason>"
// and turns a success into kExitError; otherwise gives status back.
int finishOutput(int status);

} // namespace zk::cli
