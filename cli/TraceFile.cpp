#include "TraceFile.h"

#include "Usage.h"

#include <cerrno>
#include <filesystem>
#include <iostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zk::cli {

namespace {

namespace fs = std::filesystem;

std::string gTraceFailure;

// Whether the two names lead to one file: the same device and inode when
// both exist, else the same place once links and dots are resolved.
bool sameFile(const std::string& a, const std::string& b)
{
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    std::error_code error;
    const fs::path left = fs::weakly_canonical(a, error);
    if (error)
        return false;
    const fs::path right = fs::weakly_canonical(b, error);
    return !error && left == right;
}

} // namespace

TraceFileCheck::TraceFileCheck(const std::string& trace, const std::vector<std::string>& files)
{
    if (trace.empty())
        return;
    for (const std::string& file : files)
        if (!file.empty() && file != "-" && sameFile(trace, file))
            throw UsageError("--trace '" + trace + "' is the same file as '" + file + "'");
    struct stat info {};
    if (::stat(trace.c_str(), &info) != 0 || !S_ISFIFO(info.st_mode))
        return;
    // Writing into a FIFO waits for a reader; without one the command would
    // hang before saying anything.
    fifo_ = ::open(trace.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fifo_ < 0 && errno == ENXIO)
        throw UsageError("--trace '" + trace + "' is a FIFO that no program reads");
}

TraceFileCheck::~TraceFileCheck()
{
    if (fifo_ >= 0)
        ::close(fifo_);
}

void noteTraceFailure(const std::string& trace, const std::string& reason)
{
    gTraceFailure = "cannot write the trace " + trace + ": " + reason;
}

int finishTrace(int status)
{
    if (gTraceFailure.empty())
        return status;
    std::cerr << kProgramName << ": " << gTraceFailure << '\n';
    gTraceFailure.clear();
    return status == kExitSuccess ? kExitError : status;
}

} // namespace zk::cli
