#pragma once
// What a radio holds against what it should hold: a channel plan (after a
// write, or to check a radio before use) or a raw image (after a restore).
// Each result is one line per differing channel or setting; none when they agree.
#include "ChannelTable.h"
#include "RadioImage.h"

#include <string>
#include <vector>

namespace zk {

// Compares what the plan would store with what the radio's image stores,
// field by field as a read would show them: "OFF" and "0FF" are the same
// tone, and the bytes the table does not model are not looked at.
//   channel 5: RX Frequency radio 146.00000, plan 146.50000
//   setting Squelch Level: radio 3, plan 5
// Throws EncodeError when the plan holds a cell no record can store; call
// it (or encodePlan) before reading, so such a plan sends nothing.
std::vector<std::string> differencesFromPlan(const RadioImage& radio, const ChannelTable& plan);

// The plan's 17 records, which checks that every cell can be stored.
std::vector<std::string> encodePlan(const ChannelTable& plan);

// Compares every byte a write puts into the radio, record by record:
//   channel 5: radio 0050621400506214FFFFFFFFFF30FFFF, image 00...
//   settings: radio ..., image ...
std::vector<std::string> differencesFromImage(const RadioImage& radio, const RadioImage& expected);

} // namespace zk
