#pragma once
// A procedure as a list of steps on one engine: read, write, verify against
// a plan or an image, backup (the radio's memory into an image) and restore
// (an image back into the radio). The steps run in order and stop at the
// first that does not succeed. The dialogs, the window, the command-line
// tool and several ports at once all run their procedures so.
#include "ChannelTable.h"
#include "RadioImage.h"
#include "TransferEngine.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zk {

enum class Direction { Read, Write };

// The pause after the end byte before the next procedure on the same port:
// a radio that leaves programming mode on the end byte may not answer the
// next handshake at once.
inline constexpr int kStepSettleMs = 500;

struct TransferStep {
    // What the step is called where a run of several names its steps:
    // "read", "write", "verify", "backup", "restore".
    std::string name;
    // Which way the bytes that matter go: chooses the words for its outcome.
    Direction direction = Direction::Read;
    std::function<TransferResult(TransferEngine& engine, const TransferEngine::ProgressFunction& progress)> run;
    // Runs once the step succeeded (and its end byte left, see StepHooks),
    // before the next step starts; may throw to stop the rest.
    std::function<void()> afterwards = {};
};

// The engine's table from the radio, or into it.
TransferStep readStep();
TransferStep writeStep();
// Reads the radio and compares it with the plan (EncodeError before anything
// is sent for a plan no record can store); the lines go to differences.
TransferStep verifyPlanStep(const ChannelTable& plan, std::vector<std::string>& differences);
// Reads the radio and compares every byte a write puts into it with the image.
TransferStep verifyImageStep(const RadioImage& expected, std::vector<std::string>& differences);
// The radio's memory into the image; complete only once the step succeeded.
TransferStep backupStep(RadioImage& image);
// The image's blocks into the radio as stored.
TransferStep restoreStep(const RadioImage& image);

// What whoever owns the port adds around the steps; unset does nothing.
struct StepHooks {
    // After each step that succeeded, before its afterwards: an open port
    // lets the end byte leave the line here.
    std::function<void()> afterSuccess;
    // True once the run is to end: the next step is not started.
    std::function<bool()> stopped;
    // Waited on the engine between two steps, after the first one's end byte.
    int settleMs = kStepSettleMs;
};

struct StepsOutcome {
    // The last step that ran (or was to run), and its result.
    TransferResult result{TransferOutcome::Succeeded, {}, false};
    Direction direction = Direction::Read;
    std::size_t stepsDone = 0;

    bool succeeded() const { return result.outcome == TransferOutcome::Succeeded; }
};

// Runs the steps in order on the engine. A step not started because
// hooks.stopped said so ends as Aborted with nothing sent.
StepsOutcome runSteps(TransferEngine& engine, const std::vector<TransferStep>& steps,
                      const TransferEngine::ProgressFunction& progress, const StepHooks& hooks = {});

} // namespace zk
