#include "RadioRun.h"

#include "Codec.h"
#include "ImageFile.h"
#include "OpenFailure.h"
#include "Output.h"
#include "PortAccess.h"
#include "StopSignals.h"
#include "TraceFile.h"
#include "Usage.h"

#include <atomic>
#include <iostream>

namespace zk::cli {

std::unique_ptr<QCoreApplication> coreApplication()
{
    static int argc = 1;
    static char programName[] = "zk-h41-cli";
    static char* argv[] = {programName, nullptr};
    if (QCoreApplication::instance())
        return nullptr;
    return std::make_unique<QCoreApplication>(argc, argv);
}

PortContext portContext(const std::string& port)
{
    PortContext context;
    context.port = port;
    context.programName = kProgramName;
    context.explainOpenFailure = [](const std::string& path, int osError) {
        return describeOpenFailure(path, osError);
    };
    // Replies that went missing may have gone to another reader.
    context.explainFailure = [](const std::string& path) {
        return holdersText(path, portHolders(path, SystemView{}));
    };
    return context;
}

bool runOnRadio(const std::string& port, ChannelTable& table, const std::vector<TransferStep>& steps,
                const RadioRunOptions& options)
{
    const auto app = coreApplication();
    std::atomic<bool> stop{false};
    PortContext context = portContext(port);
    context.stop = &stop;
    context.traceFile = options.traceFile;
    context.settleMs = options.settleMs;
    context.progressLine = [](const std::string& text) { std::cerr << text << '\n'; };
    context.note = [](const std::string& line) { std::cerr << line << '\n'; };
    const StopSignals signalWatch(stop);
    const PortResult outcome = runOnPort(table, steps, context);
    if (!outcome.traceFailure.empty())
        noteTraceFailure(options.traceFile, outcome.traceFailure);
    if (outcome.ok)
        return true;
    for (const std::string& line : outcome.lines)
        std::cerr << line << '\n';
    return false;
}

TransferStep savedBackupStep(RadioImage& image, const std::string& file, std::ostream& report)
{
    TransferStep step = backupStep(image);
    step.afterwards = [&image, file, &report] {
        if (isStandardStream(file)) {
            std::cout.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
            return;
        }
        saveImageFile(file, image);
        report << "Backup saved to " << file << '\n';
    };
    return step;
}

bool printComparison(const std::vector<std::string>& differences, const std::string& name)
{
    if (differences.empty()) {
        std::cout << "Radio matches " << name << '\n';
        return true;
    }
    for (const std::string& line : differences)
        std::cout << line << '\n';
    std::cerr << "Radio differs from " << name << '\n';
    return false;
}

} // namespace zk::cli
