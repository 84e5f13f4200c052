#pragma once
// Several radios at once as the commands print them: progress as a line per
// port and block, then a summary line per port, or JSON lines for scripts.
#include "Fleet.h"

#include <iosfwd>
#include <string>

namespace zk::cli {

// A context whose progress and notes go to standard error as "PORT: ..." lines.
PortContext printingContext(const std::string& port);

// Runs the procedure on every port at once (see runOnPorts). Progress
// ("PORT: block N/5") goes to standard error as it comes; then one summary
// line per port, in the order given, onto standard output, or one JSON
// object per line with json. Ctrl-C stops every port at its next step.
// kExitSuccess only when every port succeeded, else kExitError.
int runEachPort(const std::vector<std::string>& ports, const PortProcedure& procedure, bool json);

// The procedure with another pause between its steps.
PortProcedure withSettle(PortProcedure procedure, int settleMs);

// "PORT: Write Success!", or "PORT: Write Error! (2/5 blocks done; reason)";
// `label`, when given, stands where the port is.
std::string summaryLine(const PortResult& result, const std::string& label = {});
// {"port":"...","ok":false,"result":"Write Error!","blocks":2,"details":[...]}
std::string jsonLine(const PortResult& result);

// Writes the line and a newline at once; safe from any thread.
void printLine(std::ostream& out, const std::string& line);

} // namespace zk::cli
