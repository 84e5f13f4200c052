#include "TransferWords.h"

#include "Codec.h"
#include "UserMessages.h"

#include <algorithm>

namespace zk {

std::vector<std::string> OutcomeWords::lines(std::string_view programName) const
{
    std::vector<std::string> text;
    for (const OutcomeMessage& message : messages) {
        if (message.kind == OutcomeMessage::Kind::Internal)
            text.push_back(std::string(programName) + ": internal error: " + message.text);
        else
            text.push_back(message.text);
        if (!message.detail.empty())
            text.push_back(message.detail);
    }
    return text;
}

OutcomeWords outcomeWords(const TransferResult& result, Direction direction, const std::string& failureDetail)
{
    using Kind = OutcomeMessage::Kind;
    const bool reading = direction == Direction::Read;
    // Part of the plan may have reached the radio: say the write failed.
    const bool partlyWritten = !reading && result.sentAnything;
    OutcomeWords words;
    switch (result.outcome) {
    case TransferOutcome::Succeeded:
        words.succeeded = true;
        words.messages = {{Kind::Notice, reading ? kReadSuccess : kWriteSuccess, {}}};
        break;
    case TransferOutcome::Failed:
        words.messages = {{Kind::Notice, reading ? kReadError : kWriteError, failureDetail}};
        break;
    case TransferOutcome::PortNotReady:
        words.messages = {{Kind::Notice, reading ? kReadPortNotReady : kWritePortNotReady, {}}};
        break;
    case TransferOutcome::Stopped:
        words.messages = {{Kind::Error, result.error, {}}};
        if (partlyWritten)
            words.messages.push_back({Kind::Notice, kWriteError, {}});
        break;
    case TransferOutcome::Aborted:
        words.forWindows = false;
        words.messages = {{Kind::Notice, kInterrupted, {}}};
        if (partlyWritten)
            words.messages.push_back({Kind::Notice, kWriteError, {}});
        break;
    case TransferOutcome::Busy:
        words.forWindows = false;
        words.messages = {{Kind::Internal, kAlreadyRunning, {}}};
        break;
    }
    return words;
}

OutcomeWords outcomeWords(const TransferResult& result, Direction direction, const TransferEngine& engine)
{
    // The detail may look through the system for other programs: only when it can matter.
    return outcomeWords(result, direction,
                        result.outcome == TransferOutcome::Failed ? engine.failureDetail() : std::string());
}

OutcomeWords outcomeWords(const StepsOutcome& outcome, const TransferEngine& engine)
{
    return outcomeWords(outcome.result, outcome.direction, engine);
}

std::string progressText(const std::string& stepName, int blocksDone)
{
    const std::string count = "block " + std::to_string(blocksDone) + '/' + std::to_string(kBlocks);
    return stepName.empty() ? count : stepName + ": " + count;
}

namespace {

using Kind = OutcomeMessage::Kind;

// The step that did not succeed: the one after those done.
std::size_t failedStep(const StepsOutcome& outcome, const std::vector<TransferStep>& steps)
{
    return std::min(outcome.stepsDone, steps.empty() ? 0 : steps.size() - 1);
}

bool writesBefore(const std::vector<TransferStep>& steps, std::size_t index)
{
    return std::any_of(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(index),
                       [](const TransferStep& step) { return step.direction == Direction::Write; });
}

bool writesAfter(const std::vector<TransferStep>& steps, std::size_t index)
{
    return std::any_of(steps.begin() + static_cast<std::ptrdiff_t>(index) + 1, steps.end(),
                       [](const TransferStep& step) { return step.direction == Direction::Write; });
}

// The first message's text reworded, its detail kept.
OutcomeWords reworded(OutcomeWords words, const std::string& text)
{
    words.messages.front().text = text;
    return words;
}

std::string capitalised(std::string text)
{
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z')
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    return text;
}

} // namespace

OutcomeWords stepsOutcomeWords(const StepsOutcome& outcome, const std::vector<TransferStep>& steps,
                               const TransferEngine& engine)
{
    OutcomeWords words = outcomeWords(outcome, engine);
    if (outcome.succeeded() || steps.size() < 2 || words.messages.empty())
        return words;
    const std::size_t index = failedStep(outcome, steps);
    const TransferOutcome how = outcome.result.outcome;
    const bool failed = how == TransferOutcome::Failed || how == TransferOutcome::PortNotReady;
    const std::string& what = words.messages.front().text;
    if (failed && steps[index].direction == Direction::Read && writesAfter(steps, index))
        return reworded(words, capitalised(steps[index].name) + " failed (" + what + "): nothing was written.");
    if (failed && steps[index].direction == Direction::Read && writesBefore(steps, index))
        return reworded(words, "Check after writing failed: " + what);
    return words;
}

OutcomeWords commandOutcomeWords(const std::string& command, const StepsOutcome& outcome,
                                 const std::vector<TransferStep>& steps, int blocksDone,
                                 const TransferEngine& engine)
{
    OutcomeWords words = stepsOutcomeWords(outcome, steps, engine);
    const TransferOutcome how = outcome.result.outcome;
    if (outcome.succeeded() || words.messages.empty())
        return words;
    if (how == TransferOutcome::PortNotReady)
        return reworded(words, command + " could not start: the chosen port is not open.");
    if (how != TransferOutcome::Failed)
        return words;
    const std::size_t index = failedStep(outcome, steps);
    const std::string& what = words.messages.front().text;
    if (outcome.direction == Direction::Read)
        return writesBefore(steps, index) ? reworded(words, command + " wrote the radio. " + what)
                                          : reworded(words, command + " could not read the radio: " + what);
    if (blocksDone == 0)
        return reworded(words, command + " could not write the radio: " + what);
    const std::string held = steps.empty() || steps[index].name != "restore" ? "plan" : "image";
    return reworded(words, command + " stopped after block " + std::to_string(blocksDone) + " of " +
                               std::to_string(kBlocks) + ": the radio holds part of the " + held + '.');
}

namespace {

std::string joinedLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

} // namespace

OutcomeMessage verifyResultMessage(const std::vector<std::string>& differences)
{
    if (differences.empty())
        return {OutcomeMessage::Kind::Notice, "Radio matches the channel plan.", {}};
    return {OutcomeMessage::Kind::Notice,
            "Radio differs from the channel plan in " + std::to_string(differences.size()) + " channels or settings.",
            joinedLines(differences)};
}

OutcomeMessage restoreResultMessage(const std::string& imageName, const std::vector<std::string>& differences)
{
    if (differences.empty())
        return {OutcomeMessage::Kind::Notice, "Restore Success! The radio matches " + imageName + ".", {}};
    return {OutcomeMessage::Kind::Notice, "The image was written, but the radio differs from " + imageName + ".",
            joinedLines(differences)};
}

void showMessage(UserMessages& messages, const OutcomeMessage& message)
{
    if (message.kind != OutcomeMessage::Kind::Notice)
        messages.error(message.text);
    else if (message.detail.empty())
        messages.notice(message.text);
    else
        messages.noticeWithDetail(message.text, message.detail);
}

bool showOutcome(UserMessages& messages, const OutcomeWords& words)
{
    if (!words.forWindows)
        return words.succeeded;
    for (const OutcomeMessage& message : words.messages)
        showMessage(messages, message);
    return words.succeeded;
}

} // namespace zk
