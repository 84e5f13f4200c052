#include "Output.h"

#include "ChannelFile.h"
#include "Errors.h"
#include "Usage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

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

void writePlan(const std::string& output, const ChannelTable& table)
{
    if (!isStandardStream(output)) {
        saveChannelFile(output, table);
        return;
    }
    std::cout << writeChannelText(table);
    flushOutput();
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
