#pragma once
// Several radios at once: one procedure per port, each on a thread of its
// own with its own event loop, so a radio that fails or waits never holds up
// the others. Progress comes as a line per port and block; at the end a
// summary line per port, or JSON lines for scripts.
#include <atomic>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace zk::cli {

// What became of one radio.
struct PortResult {
    std::string port;
    bool ok = false;
    // What a single-port run prints, in order: on success the success text;
    // otherwise the failure and, on further lines, its reasons.
    std::vector<std::string> lines;
    int blocksDone = 0;    // blocks of the last step that went through
    std::size_t stepsDone = 0; // steps that succeeded (see RadioTransfer.h)
    bool sentAnything = false;
    std::string file;      // a file the procedure wrote, if any
};

// What a per-port procedure is given.
struct PortContext {
    std::string port;
    // Set once the run is to end (Ctrl-C); null when the session watches the
    // signals itself.
    const std::atomic<bool>* stop = nullptr;
    std::function<void(int blocksDone)> progress;
    // A warning to show before anything is sent.
    std::function<void(const std::string& line)> note;
};

using PortProcedure = std::function<PortResult(const PortContext& context)>;

// A context whose progress and notes go to standard error as "PORT: ..." lines.
PortContext printingContext(const std::string& port, const std::atomic<bool>& stop);

// Runs the procedure; one that throws still leaves a result naming its
// port, so a failure on one port never ends the others.
PortResult runGuarded(const PortProcedure& procedure, const PortContext& context);

// Runs the procedure on every port at once. Progress ("PORT: block N/5")
// goes to standard error as it comes; then one summary line per port, in the
// order given, onto standard output, or one JSON object per line with json.
// Ctrl-C stops every port at its next step. kExitSuccess only when every
// port succeeded, else kExitError.
int runOnPorts(const std::vector<std::string>& ports, const PortProcedure& procedure, bool json);

// "PORT: Write Success!", or "PORT: Write Error! (2/5 blocks done; reason)";
// `label`, when given, stands where the port is.
std::string summaryLine(const PortResult& result, const std::string& label = {});
// {"port":"...","ok":false,"result":"Write Error!","blocks":2,"details":[...]}
std::string jsonLine(const PortResult& result);

// Writes the line and a newline at once; safe from any thread.
void printLine(std::ostream& out, const std::string& line);

} // namespace zk::cli
