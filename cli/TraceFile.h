#pragma once
// The serial trace of a command: refused before anything is sent when it
// would overwrite one of the command's own files or wait on a FIFO nobody
// reads, and a trace that could not be written in full reported last.
#include <string>
#include <vector>

namespace zk::cli {

// Checks the trace file against the command's inputs and outputs (the same
// file under any name, a link included); a UsageError when it is one of them,
// or a FIFO without a reader. A FIFO's reader is held (kept open) for as long
// as this lives, so the check does not end the reader's input.
class TraceFileCheck {
public:
    TraceFileCheck(const std::string& trace, const std::vector<std::string>& files);
    ~TraceFileCheck();
    TraceFileCheck(const TraceFileCheck&) = delete;
    TraceFileCheck& operator=(const TraceFileCheck&) = delete;

private:
    int fifo_ = -1;
};

// Remembers that the trace is incomplete, and why.
void noteTraceFailure(const std::string& trace, const std::string& reason);
// After the command's own result: says so on standard error and turns the
// status into kExitError when the trace was not written in full.
int finishTrace(int status);

} // namespace zk::cli
