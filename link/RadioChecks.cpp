#include "RadioChecks.h"

#include "RadioCompare.h"

namespace zk {

CheckResult verifyAgainstPlan(TransferEngine& engine, const ChannelTable& plan,
                              const TransferEngine::ProgressFunction& progress)
{
    encodePlan(plan);
    RadioImage radio;
    CheckResult result{engine.readImage(radio, progress), {}};
    if (result.transfer.outcome == TransferOutcome::Succeeded)
        result.differences = differencesFromPlan(radio, plan);
    return result;
}

CheckResult verifyAgainstImage(TransferEngine& engine, const RadioImage& expected,
                               const TransferEngine::ProgressFunction& progress)
{
    RadioImage radio;
    CheckResult result{engine.readImage(radio, progress), {}};
    if (result.transfer.outcome == TransferOutcome::Succeeded)
        result.differences = differencesFromImage(radio, expected);
    return result;
}

} // namespace zk
