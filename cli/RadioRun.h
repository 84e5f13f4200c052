#pragma once
// One radio on one port, as the single-port commands run it: progress lines
// "block N/5" and the failure on standard error, Ctrl-C stopping the
// transfer at its next step; and the pieces those commands share.
#include "ChannelTable.h"
#include "PortRun.h"
#include "RadioImage.h"
#include "TransferSteps.h"

#include <QCoreApplication>

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace zk::cli {

// The event loops' application, named after this program; made only when
// the program has none yet.
std::unique_ptr<QCoreApplication> coreApplication();

// A run on the port with this system's explanations for a port that did not
// open and for replies that went missing (other programs holding the port).
PortContext portContext(const std::string& port);

// How a single radio is run besides its steps.
struct RadioRunOptions {
    // When not empty, receives the serial trace (checked by TraceFileCheck).
    std::string traceFile;
    // The pause between two steps, after the end byte.
    int settleMs = kStepSettleMs;
};

// Runs the steps on the port, stopping at the first that does not succeed.
// Progress ("block N/5", or "backup: block N/5" in a run of several steps)
// and every failure go to standard error; success messages are the steps'
// afterwards. True only when every step went through. A trace not written
// in full is noted for finishTrace.
bool runOnRadio(const std::string& port, ChannelTable& table, const std::vector<TransferStep>& steps,
                const RadioRunOptions& options = {});

// The radio's memory into the image, then saved as an image file once
// complete; "-" is standard output. The saved path is reported on `report`.
TransferStep savedBackupStep(RadioImage& image, const std::string& file, std::ostream& report);

// "Radio matches NAME" on standard output; or each difference on standard
// output and "Radio differs from NAME" on standard error. True for a match.
bool printComparison(const std::vector<std::string>& differences, const std::string& name);

} // namespace zk::cli
