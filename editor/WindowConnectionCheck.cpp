#include "WindowConnectionCheck.h"

#include "RadioProbe.h"
#include "TransferEngine.h"

namespace zk {

CheckReport checkConnectionFromWindow(const std::string& port, bool portOpen, const SystemView& view,
                                      TransferEngine& engine, RadioLink& link)
{
    CheckReport report = checkConnection(port, view, AdviceFor::Desktop);
    if (port.empty())
        return report;
    if (!portOpen) {
        report.add(CheckLevel::Fail, "the radio was not asked: " + port + " is not open",
                   "pick the cable's port in the Serial Port list; the port panel's tooltip in the status bar says "
                   "why it did not open");
        return report;
    }
    ProbeResult result;
    if (!engine.runBetweenTransfers([&] { result = probeRadio(link); })) {
        report.add(CheckLevel::Warn, "the radio was not asked: a transfer with the radio is running",
                   "check again when it has ended");
        return report;
    }
    reportProbe(port, result, report);
    return report;
}

} // namespace zk
