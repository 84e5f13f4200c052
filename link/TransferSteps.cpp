#include "TransferSteps.h"

#include "RadioChecks.h"

namespace zk {

namespace {

using Progress = TransferEngine::ProgressFunction;

TransferResult keepDifferences(const CheckResult& check, std::vector<std::string>& differences)
{
    differences = check.differences;
    return check.transfer;
}

} // namespace

TransferStep readStep()
{
    return {"read", Direction::Read,
            [](TransferEngine& engine, const Progress& progress) { return engine.read(progress); }};
}

TransferStep writeStep()
{
    return {"write", Direction::Write,
            [](TransferEngine& engine, const Progress& progress) { return engine.write(progress); }};
}

TransferStep verifyPlanStep(const ChannelTable& plan, std::vector<std::string>& differences)
{
    return {"verify", Direction::Read, [&plan, &differences](TransferEngine& engine, const Progress& progress) {
                return keepDifferences(verifyAgainstPlan(engine, plan, progress), differences);
            }};
}

TransferStep verifyImageStep(const RadioImage& expected, std::vector<std::string>& differences)
{
    return {"verify", Direction::Read, [&expected, &differences](TransferEngine& engine, const Progress& progress) {
                return keepDifferences(verifyAgainstImage(engine, expected, progress), differences);
            }};
}

TransferStep backupStep(RadioImage& image)
{
    return {"backup", Direction::Read,
            [&image](TransferEngine& engine, const Progress& progress) { return engine.readImage(image, progress); }};
}

TransferStep restoreStep(const RadioImage& image)
{
    return {"restore", Direction::Write,
            [&image](TransferEngine& engine, const Progress& progress) { return engine.writeImage(image, progress); }};
}

StepsOutcome runSteps(TransferEngine& engine, const std::vector<TransferStep>& steps, const Progress& progress,
                      const StepHooks& hooks)
{
    StepsOutcome outcome;
    for (const TransferStep& step : steps) {
        if (outcome.stepsDone > 0 && hooks.settleMs > 0)
            engine.pause(hooks.settleMs);
        outcome.direction = step.direction;
        // A stop that came while the port opened, or during the step before,
        // ends the run before anything more is sent.
        outcome.result = hooks.stopped && hooks.stopped() ? TransferResult{TransferOutcome::Aborted, {}, false}
                                                          : step.run(engine, progress);
        if (!outcome.succeeded())
            return outcome;
        if (hooks.afterSuccess)
            hooks.afterSuccess();
        if (step.afterwards)
            step.afterwards();
        ++outcome.stepsDone;
    }
    return outcome;
}

} // namespace zk
