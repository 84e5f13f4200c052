#include "WebTransfer.h"

#include "JsPort.h"
#include "TransferSteps.h"
#include "TransferWords.h"
#include "UserMessages.h"

#include <algorithm>
#include <exception>

namespace zk::web {

namespace {

std::string joinedLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

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
    StepHooks hooks;
    hooks.afterSuccess = [&current] {
        drainJsPort();
        ++current;
    };
    StepsOutcome outcome;
    try {
        // A read changes the plan: one step of its history.
        plan.record([&] {
            outcome = runSteps(
                engine, run.steps,
                [&](int blocks) { reportProgress(run.labels.at(std::min(current, run.labels.size() - 1)), blocks); },
                hooks);
        });
    } catch (const std::exception& e) {
        report.messages.push_back({"error", errorBoxText(e.what()), {}});
        return report;
    }

    const OutcomeWords words = outcomeWords(outcome, engine);
    report.succeeded = words.succeeded;
    if (!words.succeeded || procedure == Procedure::Read || procedure == Procedure::Write) {
        for (const OutcomeMessage& message : words.messages)
            report.messages.push_back({kindName(message.kind), message.text, message.detail});
        return report;
    }
    if (procedure == Procedure::Verify) {
        if (report.differences.empty())
            report.messages.push_back({"notice", "Radio matches the channel plan.", {}});
        else
            report.messages.push_back({"notice",
                                       "Radio differs from the channel plan in "
                                           + std::to_string(report.differences.size()) + " channels or settings.",
                                       joinedLines(report.differences)});
    } else if (procedure == Procedure::Restore) {
        if (report.differences.empty())
            report.messages.push_back({"notice", "Restore Success! The radio matches " + imageName + ".", {}});
        else
            report.messages.push_back({"notice", "The image was written, but the radio differs from " + imageName + ".",
                                       joinedLines(report.differences)});
    }
    // A backup's words name the file the page keeps it in: the page's.
    return report;
}

} // namespace zk::web
