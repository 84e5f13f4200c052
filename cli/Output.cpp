#include "Output.h"

#include "ChannelFile.h"
#include "Errors.h"
#include "Usage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <unistd.h>

namespace zk::cli {

namespace {

// Throws when standard output did not take everything written to it.
void flushOutput()
{
    // A write that failed earlier leaves the stream's error flag and usually
    // data in the buffer, so the flush fails again and tells the reason.
    errno = 0;
    std::cout.flush();
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (!flushed || std::ferror(stdout) || !std::cout.good()) {
        // Reported once: a later flush then speaks only of a new failure.
        std::cout.clear();
        std::clearerr(stdout);
        throw AppError(std::string(kProgramName) + ": cannot write the output: " +
                       std::strerror(error != 0 ? error : EIO));
    }
}

} // namespace

std::string readInput(const std::string& input, const FileKind& kind)
{
    return isStandardStream(input) ? readBoundedStream(STDIN_FILENO, "standard input", kind)
                                   : readRegularFile(input, kind);
}

void writeOutput(const std::string& output, const std::string& bytes)
{
    if (!isStandardStream(output)) {
        replaceFile(output, bytes);
        return;
    }
    std::cout << bytes;
    flushOutput();
}

void writePlan(const std::string& output, const ChannelTable& table)
{
    writeOutput(output, writeChannelText(table));
}

int finishOutput(int status)
{
    try {
        flushOutput();
        return status;
    } catch (const AppError& e) {
        std::cerr << e.what() << '\n';
        return status == kExitSuccess ? kExitError : status;
    }
}

} // namespace zk::cli
