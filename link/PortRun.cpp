#include "PortRun.h"

#include "PortSession.h"
#include "SerialPortList.h"
#include "TransferWords.h"

#include <algorithm>

namespace zk {

PortResult runOnPort(ChannelTable& table, const std::vector<TransferStep>& steps, const PortContext& context)
{
    const std::string& port = context.port;
    PortResult outcome;
    outcome.port = port;
    static const std::atomic<bool> kNeverStop{false};
    PortSession session(context.stop ? *context.stop : kNeverStop, context.traceFile);
    if (isConsolePort(port) && context.note)
        context.note("Warning: " + port + " is the system console; opening it takes the console line over.");
    PortSession::OpenFailure failure;
    if (!session.open(port, failure)) {
        outcome.lines = {failure.error};
        if (context.explainOpenFailure)
            outcome.lines.push_back(context.explainOpenFailure(port, failure.osError));
        outcome.traceFailure = session.traceFailure();
        return outcome;
    }
    TransferEngine engine(session.link(), table);
    if (context.explainFailure)
        engine.explainFailure = [&context] { return context.explainFailure(context.port); };
    std::size_t succeeded = 0;
    const auto progress = [&](int blocksDone) {
        outcome.blocksDone = blocksDone;
        if (context.progress)
            context.progress(blocksDone);
        if (context.progressLine)
            context.progressLine(
                progressText(steps.size() > 1 ? steps.at(std::min(succeeded, steps.size() - 1)).name : std::string(),
                             blocksDone));
    };
    StepHooks hooks;
    hooks.settleMs = context.settleMs;
    // The engine's waits have seen the writer's notice for every command;
    // only the end byte, sent after the last wait, can still be queued.
    hooks.afterSuccess = [&] {
        session.finishSending();
        if (++succeeded < steps.size())
            outcome.blocksDone = 0; // the next step counts afresh
    };
    hooks.stopped = [&session] { return session.stopped(); };
    const StepsOutcome ran = runSteps(engine, steps, progress, hooks);
    session.close();
    outcome.traceFailure = session.traceFailure();
    outcome.stepsDone = ran.stepsDone;
    outcome.sentAnything = ran.result.sentAnything;
    outcome.ok = ran.succeeded();
    outcome.lines = stepsOutcomeWords(ran, steps, engine).lines(context.programName);
    return outcome;
}

} // namespace zk
