#pragma once
// What a person reads about a transfer's outcome, in one place: the read and
// write dialogs, the window's radio commands and the command-line tool all
// take their words from here.
#include "TransferSteps.h"

#include <string>
#include <string_view>
#include <vector>

namespace zk {

class UserMessages;

inline constexpr const char* kInterrupted = "Interrupted";
inline constexpr const char* kAlreadyRunning = "a transfer is already running";

struct OutcomeMessage {
    enum class Kind {
        Notice,   // an OK box; a line on a terminal
        Error,    // the error box
        Internal, // a fault of the program itself, not of the radio or port
    };
    Kind kind = Kind::Notice;
    std::string text;
    std::string detail; // may explain the notice (other programs holding the port); often empty
};

struct OutcomeWords {
    bool succeeded = false;
    // False for a transfer that did not start because another runs, and for
    // one stopped from outside: a window knows why (a second press, quitting)
    // and shows nothing; a terminal still says so.
    bool forWindows = true;
    std::vector<OutcomeMessage> messages;

    // The lines a terminal shows, in order: each text, then its detail when
    // there is one. Internal faults read "PROGRAM: internal error: TEXT".
    std::vector<std::string> lines(std::string_view programName) const;
};

// failureDetail: what may explain a failed transfer (TransferEngine::failureDetail).
OutcomeWords outcomeWords(const TransferResult& result, Direction direction, const std::string& failureDetail = {});
// The same with the engine's failure detail, asked for only when a block failed.
OutcomeWords outcomeWords(const TransferResult& result, Direction direction, const TransferEngine& engine);
OutcomeWords outcomeWords(const StepsOutcome& outcome, const TransferEngine& engine);

// "block 3/5"; for a step of a run of several, named: "backup: block 3/5".
std::string progressText(const std::string& stepName, int blocksDone);

// A run of steps as a terminal tells it. A single step has the procedure's
// own words; in a run of several the step that did not succeed names itself:
// "Backup failed (Read Error!): nothing was written." for a backup before a
// write, "Check after writing failed: Read Error!" for a read after a write.
OutcomeWords stepsOutcomeWords(const StepsOutcome& outcome, const std::vector<TransferStep>& steps,
                               const TransferEngine& engine);

// A command of the window (Verify, Backup, Restore) as its box tells it:
// the command's name and the state the radio is left in, such as "Verify
// could not read the radio: Read Error!" or "Restore stopped after block 2
// of 5: the radio holds part of the image." blocksDone: of the last step.
OutcomeWords commandOutcomeWords(const std::string& command, const StepsOutcome& outcome,
                                 const std::vector<TransferStep>& steps, int blocksDone,
                                 const TransferEngine& engine);

// What a verify that read the radio found: a match, or how many channels or
// settings differ, the differences as the detail.
OutcomeMessage verifyResultMessage(const std::vector<std::string>& differences);
// The same for the check after a restore of the image named imageName.
OutcomeMessage restoreResultMessage(const std::string& imageName, const std::vector<std::string>& differences);

// Shows one message in its box: a notice (with its detail) or the error box.
void showMessage(UserMessages& messages, const OutcomeMessage& message);
// Shows the words in boxes, unless they are not for windows. Gives succeeded.
bool showOutcome(UserMessages& messages, const OutcomeWords& words);

} // namespace zk
