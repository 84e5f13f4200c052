#include "Fleet.h"

#include "PortThreads.h"

#include <exception>

namespace zk {

PortResult runGuarded(const PortProcedure& procedure, const PortContext& context)
{
    try {
        return procedure(context);
    } catch (const std::exception& e) {
        PortResult failed;
        failed.port = context.port;
        failed.lines = {e.what()};
        return failed;
    }
}

std::vector<PortResult> runOnPorts(const std::vector<std::string>& ports, const PortProcedure& procedure,
                                   const std::function<PortContext(const std::string& port)>& contextFor)
{
    std::vector<PortResult> results(ports.size());
    PortThreads threads;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        // Each thread writes only its own result; the join before
        // waitForAll returns hands it over.
        threads.start([&procedure, &result = results[i], context = contextFor(ports[i])] {
            result = runGuarded(procedure, context);
        });
    }
    threads.waitForAll();
    return results;
}

} // namespace zk
