#pragma once
// Checks of what a radio holds, built on the engine's read procedure: one
// radio on one port, nothing printed, so the command-line tool, the window
// and several ports at once share them.
#include "ChannelTable.h"
#include "RadioImage.h"
#include "TransferEngine.h"

#include <string>
#include <vector>

namespace zk {

struct CheckResult {
    TransferResult transfer;
    // One line per differing channel or setting; meaningful only when the
    // transfer succeeded.
    std::vector<std::string> differences;
};

// Reads the radio (the engine's table untouched) and compares it with the
// plan. A plan with a cell no record can store throws EncodeError before
// anything is sent.
CheckResult verifyAgainstPlan(TransferEngine& engine, const ChannelTable& plan,
                              const TransferEngine::ProgressFunction& progress);

// Reads the radio and compares every byte a write puts into it with the
// image: the check that ends a restore.
CheckResult verifyAgainstImage(TransferEngine& engine, const RadioImage& expected,
                               const TransferEngine::ProgressFunction& progress);

} // namespace zk
