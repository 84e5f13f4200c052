#include "PortResults.h"

#include "Codec.h"
#include "RadioRun.h"
#include "StopSignals.h"
#include "Usage.h"
#include "VisibleText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <atomic>
#include <iostream>
#include <mutex>

namespace zk::cli {

namespace {

std::mutex gPrintLock;

// One value as compact JSON. A QJsonObject would sort the keys, and the
// lines keep their order (port first), so each value is written on its own.
std::string jsonText(const QJsonValue& value)
{
    const QByteArray inArray = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return inArray.mid(1, inArray.size() - 2).toStdString(); // without the brackets
}

// Bytes that are not UTF-8 (a port's odd name) become visible escapes, so
// every line stays valid JSON.
QJsonValue jsonValue(const std::string& text)
{
    return QString::fromStdString(visibleText(text));
}

} // namespace

void printLine(std::ostream& out, const std::string& line)
{
    std::lock_guard guard(gPrintLock);
    out << line << '\n' << std::flush;
}

PortContext printingContext(const std::string& port)
{
    PortContext context = portContext(port);
    context.progressLine = [port](const std::string& text) { printLine(std::cerr, visibleText(port) + ": " + text); };
    context.note = [port](const std::string& line) { printLine(std::cerr, visibleText(port) + ": " + line); };
    return context;
}

PortProcedure withSettle(PortProcedure procedure, int settleMs)
{
    return [procedure = std::move(procedure), settleMs](const PortContext& context) {
        PortContext settled = context;
        settled.settleMs = settleMs;
        return procedure(settled);
    };
}

std::string summaryLine(const PortResult& result, const std::string& label)
{
    std::string line = (label.empty() ? visibleText(result.port) : label) + ": " +
                       visibleText(result.lines.empty() ? std::string("no result") : result.lines.front());
    std::vector<std::string> reasons;
    if (!result.ok && result.sentAnything)
        reasons.push_back(std::to_string(result.blocksDone) + '/' + std::to_string(kBlocks) + " blocks done");
    if (!result.file.empty())
        reasons.push_back(visibleText(result.file));
    for (std::size_t i = 1; i < result.lines.size(); ++i)
        reasons.push_back(visibleText(result.lines[i]));
    for (std::size_t i = 0; i < reasons.size(); ++i)
        line += (i == 0 ? " (" : "; ") + reasons[i];
    return reasons.empty() ? line : line + ')';
}

std::string jsonLine(const PortResult& result)
{
    QJsonArray details;
    for (std::size_t i = 1; i < result.lines.size(); ++i)
        details.append(jsonValue(result.lines[i]));
    std::string line = "{\"port\":" + jsonText(jsonValue(result.port)) + ",\"ok\":" + jsonText(result.ok) +
                       ",\"result\":" + jsonText(jsonValue(result.lines.empty() ? std::string() : result.lines.front())) +
                       ",\"blocks\":" + jsonText(result.blocksDone);
    if (!result.file.empty())
        line += ",\"file\":" + jsonText(jsonValue(result.file));
    return line + ",\"details\":" + jsonText(details) + '}';
}

int runEachPort(const std::vector<std::string>& ports, const PortProcedure& procedure, bool json)
{
    const auto app = coreApplication();
    std::atomic<bool> stop{false};
    const StopSignals signalWatch(stop);
    const std::vector<PortResult> results =
        runOnPorts(ports, procedure, [&stop](const std::string& port) {
            PortContext context = printingContext(port);
            context.stop = &stop;
            return context;
        });
    bool allOk = true;
    for (const PortResult& result : results) {
        printLine(std::cout, json ? jsonLine(result) : summaryLine(result));
        allOk = allOk && result.ok;
    }
    return allOk ? kExitSuccess : kExitError;
}

} // namespace zk::cli
