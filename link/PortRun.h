#pragma once
// Steps run on one port from opening it to closing it, the outcome as a
// plain record: what the command-line tool prints for one radio, and what
// several radios at once (fleet/) collect, one record per port.
#include "ChannelTable.h"
#include "TransferSteps.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zk {

// What became of one radio.
struct PortResult {
    std::string port;
    bool ok = false;
    // What a single-port run shows, in order: on success the success text;
    // otherwise the failure and, on further lines, its reasons.
    std::vector<std::string> lines;
    int blocksDone = 0;        // blocks of the last step that went through
    std::size_t stepsDone = 0; // steps that succeeded
    bool sentAnything = false; // by the last step
    std::string file;          // a file the procedure wrote, if any
    std::string traceFailure;  // why the trace is not complete; empty when it is
};

// What a run on one port is given.
struct PortContext {
    std::string port;
    // Set once the run is to end: the link stops at its next step.
    const std::atomic<bool>* stop = nullptr;
    std::function<void(int blocksDone)> progress;
    // The same as a line: "block 3/5", or in a run of several steps
    // "backup: block 3/5".
    std::function<void(const std::string& text)> progressLine;
    // A warning to show before anything is sent.
    std::function<void(const std::string& line)> note;
    // Why the port did not open, in plain words, from the system's error;
    // unset: the component's text alone.
    std::function<std::string(const std::string& port, int osError)> explainOpenFailure;
    // What may explain replies that went missing (another reader on the port).
    std::function<std::string(const std::string& port)> explainFailure;
    // When not empty, receives the serial trace.
    std::string traceFile;
    // Names the program in an internal fault's line.
    std::string programName;
    // The pause between two steps, after the end byte.
    int settleMs = kStepSettleMs;
};

// Opens the port, runs the steps on an engine over `table`, lets the last
// end byte leave and closes the port. Nothing is printed. On success the
// lines hold the success text of the last step's direction.
PortResult runOnPort(ChannelTable& table, const std::vector<TransferStep>& steps, const PortContext& context);

} // namespace zk
