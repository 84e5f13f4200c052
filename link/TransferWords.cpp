#include "TransferWords.h"

#include "UserMessages.h"

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

bool showOutcome(UserMessages& messages, const OutcomeWords& words)
{
    if (!words.forWindows)
        return words.succeeded;
    for (const OutcomeMessage& message : words.messages) {
        if (message.kind != OutcomeMessage::Kind::Notice)
            messages.error(message.text);
        else if (message.detail.empty())
            messages.notice(message.text);
        else
            messages.noticeWithDetail(message.text, message.detail);
    }
    return words.succeeded;
}

} // namespace zk
