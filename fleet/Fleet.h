#pragma once
// Several radios at once: one procedure per port, each on a thread of its
// own with its own event loop, so a radio that fails or waits never holds up
// the others. Results come back as plain records; printing is the caller's.
#include "PortRun.h"

#include <functional>
#include <string>
#include <vector>

namespace zk {

using PortProcedure = std::function<PortResult(const PortContext& context)>;

// Runs the procedure; one that throws still leaves a failed result naming
// its port and the error, so a failure on one port never ends the others.
PortResult runGuarded(const PortProcedure& procedure, const PortContext& context);

// Runs the procedure on every port at once, each with contextFor(port), and
// gives the results in the order of the ports. Needs a QCoreApplication; its
// event loop keeps running on this thread meanwhile.
std::vector<PortResult> runOnPorts(const std::vector<std::string>& ports, const PortProcedure& procedure,
                                   const std::function<PortContext(const std::string& port)>& contextFor);

} // namespace zk
