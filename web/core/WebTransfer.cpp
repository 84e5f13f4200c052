#include "WebTransfer.h"

#include "JsPort.h"
#include "TransferSteps.h"
#include "TransferWords.h"
#include "UserMessages.h"

#include <algorithm>
#include <exception>

namespace zk::web {

namespace {

const char* kindName(OutcomeMessage::Kind kind)
{
    return kind == OutcomeMessage::Kind::Notice ? "notice" : "error";
}

struct Plan {
    std::vector<TransferStep> steps;
    std::vector<const char*> labels;
};

} // namespace

TransferReport runProcedure(WebPlan& plan, Procedure procedure, RadioImage& image, const std::string& imageName)
{
    TransferReport report;
    JsPortLink port;
    TransferEngine engine(port.link(), plan.table());
    Plan run;
    switch (procedure) {
    case Procedure::Read:
        run = {{readStep()}, {"Read"}};
        break;
    case Procedure::Write:
        run = {{writeStep()}, {"Write"}};
        break;
    case Procedure::Verify:
        run = {{verifyPlanStep(plan.table(), report.differences)}, {"Verify"}};
        break;
    case Procedure::Backup:
        image = blankImage();
        run = {{backupStep(image)}, {"Backup"}};
        break;
    case Procedure::Restore:
        run = {{restoreStep(image), verifyImageStep(image, report.differences)}, {"Restore", "Verify"}};
        break;
    }

    std::size_t current = 0;
    int blocksDone = 0;
    StepHooks hooks;
    hooks.afterSuccess = [&current, &blocksDone] {
        drainJsPort();
        ++current;
        blocksDone = 0;
    };
    StepsOutcome outcome;
    try {
        // A read changes the plan: one step of its history.
        plan.record([&] {
            outcome = runSteps(
                engine, run.steps,
                [&](int blocks) {
                    blocksDone = blocks;
                    reportProgress(run.labels.at(std::min(current, run.labels.size() - 1)), blocks);
                },
                hooks);
        });
    } catch (const std::exception& e) {
        report.messages.push_back({"error", errorBoxText(e.what()), {}});
        return report;
    }

    const auto add = [&report](const OutcomeMessage& message) {
        report.messages.push_back({kindName(message.kind), message.text, message.detail});
    };
    // Read and Write keep their own words; the other commands name
    // themselves and the state the radio is left in, as the desktop's do.
    const bool named = procedure != Procedure::Read && procedure != Procedure::Write;
    const OutcomeWords words = named ? commandOutcomeWords(run.labels.front(), outcome, run.steps, blocksDone, engine)
                                     : outcomeWords(outcome, engine);
    report.succeeded = words.succeeded;
    if (!words.succeeded || !named) {
        for (const OutcomeMessage& message : words.messages)
            add(message);
        return report;
    }
    if (procedure == Procedure::Verify)
        add(verifyResultMessage(report.differences));
    else if (procedure == Procedure::Restore)
        add(restoreResultMessage(imageName, report.differences));
    // A backup's words name the file the page keeps it in: the page's.
    return report;
}

} // namespace zk::web
