// zk-h41-cli: dispatches to one subcommand and turns its outcome into the
// exit status: 0 success, 1 error, 2 wrong usage.
#include "Commands.h"
#include "Errors.h"
#include "Output.h"
#include "TraceFile.h"
#include "Version.h"

#include <csignal>

#include <iostream>

using namespace zk::cli;

namespace {

const Command* const kCommands[] = {&kShowCommand,  &kEncodeCommand, &kDecodeCommand,
                                    &kPortsCommand, &kReadCommand,   &kWriteCommand, &kDoctorCommand,
                                    &kImportCommand, &kExportCommand, &kVerifyCommand, &kBackupCommand,
                                    &kRestoreCommand, &kStationCommand};

const Command* findCommand(const std::string& name)
{
    for (const Command* command : kCommands)
        if (name == command->name)
            return command;
    return nullptr;
}

int usageFailure(const std::string& message, const std::string& usage)
{
    std::cerr << kProgramName << ": " << message << "\n\n" << usage;
    return kExitUsage;
}

int runTool(int argc, char** argv)
{
    const Arguments all(argv + 1, argv + argc);
    if (all.empty())
        return usageFailure("missing command", toolUsage());
    if (all.front() == "--help" || all.front() == "-h" || all.front() == "help") {
        std::cout << toolUsage();
        return kExitSuccess;
    }
    if (all.front() == "--version") {
        std::cout << zk::versionLine(kProgramName);
        return kExitSuccess;
    }
    const Command* command = findCommand(all.front());
    if (!command)
        return usageFailure("unknown command '" + all.front() + "'", toolUsage());

    const Arguments args(all.begin() + 1, all.end());
    if (wantsHelp(args)) {
        std::cout << command->usage;
        return kExitSuccess;
    }
    try {
        return command->run(args);
    } catch (const UsageError& e) {
        return usageFailure(e.what(), command->usage);
    } catch (const zk::AppError& e) {
        std::cerr << e.what() << '\n';
        return kExitError;
    } catch (const std::exception& e) {
        // Not a failure the user can act on, but still no crash.
        std::cerr << kProgramName << ": internal error: " << e.what() << '\n';
        return kExitError;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Past a file size limit a write then fails with "File too large", which
    // is reported, instead of the process dying without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    // A reader that went away (| head) must not kill the program while a
    // radio is half-written: the failed output is reported at the end.
    std::signal(SIGPIPE, SIG_IGN);
    return finishOutput(finishTrace(runTool(argc, argv)));
}
