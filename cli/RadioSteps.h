#pragma once
// The steps verify, backup and restore are made of, for runOnRadio, and how
// a comparison's result is printed.
#include "ChannelTable.h"
#include "RadioImage.h"
#include "RadioTransfer.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace zk::cli {

// Reads the radio and compares it with the plan; the lines go to differences.
RadioStep verifyPlanStep(const ChannelTable& plan, std::vector<std::string>& differences);
// Reads the radio and compares every written byte with the image.
RadioStep verifyImageStep(const RadioImage& image, std::vector<std::string>& differences);
// Reads the radio's memory and saves it as an image file once complete;
// "-" is standard output. The saved path is reported on `report`.
RadioStep backupStep(RadioImage& image, const std::string& file, std::ostream& report);
// Writes the image's blocks into the radio as stored.
RadioStep restoreStep(const RadioImage& image);

// "Radio matches NAME" on standard output; or each difference on standard
// output and "Radio differs from NAME" on standard error. True for a match.
bool printComparison(const std::vector<std::string>& differences, const std::string& name);

// Takes "--verify" and "--backup DIR" out of the arguments.
struct SafetyOptions {
    bool verify = false;
    std::string backupFolder;
};
SafetyOptions takeSafetyOptions(Arguments& args);

} // namespace zk::cli
