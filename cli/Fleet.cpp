#include "Fleet.h"

#include "Codec.h"
#include "PortSession.h"
#include "PortThreads.h"
#include "Usage.h"

#include <iostream>
#include <memory>
#include <mutex>

namespace zk::cli {

namespace {

std::mutex gPrintLock;

std::string jsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (byte < 0x20) {
            static const char digits[] = "0123456789abcdef";
            quoted += "\\u00";
            quoted += digits[byte >> 4];
            quoted += digits[byte & 0xF];
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

} // namespace

void printLine(std::ostream& out, const std::string& line)
{
    std::lock_guard guard(gPrintLock);
    out << line << '\n' << std::flush;
}

PortResult runGuarded(const PortProcedure& procedure, const PortContext& context)
{
    try {
        return procedure(context);
    } catch (const std::exception& e) {
        PortResult failed;
        failed.port = context.port;
        failed.lines = {e.what()};
        return failed;
    }
}

PortContext printingContext(const std::string& port, const std::atomic<bool>& stop)
{
    PortContext context;
    context.port = port;
    context.stop = &stop;
    context.progress = [port](int blocksDone) {
        printLine(std::cerr, port + ": block " + std::to_string(blocksDone) + '/' + std::to_string(kBlocks));
    };
    context.note = [port](const std::string& line) { printLine(std::cerr, port + ": " + line); };
    return context;
}

std::string summaryLine(const PortResult& result, const std::string& label)
{
    std::string line = (label.empty() ? result.port : label) + ": " +
                       (result.lines.empty() ? std::string("no result") : result.lines.front());
    std::vector<std::string> reasons;
    if (!result.ok && result.sentAnything)
        reasons.push_back(std::to_string(result.blocksDone) + '/' + std::to_string(kBlocks) + " blocks done");
    if (!result.file.empty())
        reasons.push_back(result.file);
    for (std::size_t i = 1; i < result.lines.size(); ++i)
        reasons.push_back(result.lines[i]);
    for (std::size_t i = 0; i < reasons.size(); ++i)
        line += (i == 0 ? " (" : "; ") + reasons[i];
    return reasons.empty() ? line : line + ')';
}

std::string jsonLine(const PortResult& result)
{
    std::string line = "{\"port\":" + jsonString(result.port) + ",\"ok\":" + (result.ok ? "true" : "false") +
                       ",\"result\":" + jsonString(result.lines.empty() ? std::string() : result.lines.front()) +
                       ",\"blocks\":" + std::to_string(result.blocksDone);
    if (!result.file.empty())
        line += ",\"file\":" + jsonString(result.file);
    line += ",\"details\":[";
    for (std::size_t i = 1; i < result.lines.size(); ++i)
        line += (i == 1 ? "" : ",") + jsonString(result.lines[i]);
    return line + "]}";
}

int runOnPorts(const std::vector<std::string>& ports, const PortProcedure& procedure, bool json)
{
    const auto app = PortSession::makeApplication();
    std::atomic<bool> stop{false};
    InterruptWatch interrupts{[&stop] { stop = true; }};
    std::vector<PortResult> results(ports.size());
    {
        PortThreads threads;
        for (std::size_t i = 0; i < ports.size(); ++i) {
            const PortContext context = printingContext(ports[i], stop);
            // Each thread writes only its own result; the join before
            // waitForAll returns hands it over.
            threads.start([&procedure, &result = results[i], context] {
                result = runGuarded(procedure, context);
            });
        }
        threads.waitForAll();
    }
    bool allOk = true;
    for (const PortResult& result : results) {
        printLine(std::cout, json ? jsonLine(result) : summaryLine(result));
        allOk = allOk && result.ok;
    }
    return allOk ? kExitSuccess : kExitError;
}

} // namespace zk::cli
