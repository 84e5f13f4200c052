#pragma once
// What every subcommand shares: exit statuses, the wrong-usage error and the
// small argument helpers. Options.h parses a command's options.
#include <stdexcept>
#include <string>
#include <vector>

namespace zk::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

inline constexpr const char* kProgramName = "zk-h41-cli";

using Arguments = std::vector<std::string>;

// Wrong usage: the message goes to standard error and the exit status is 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The tool's own help, listing the subcommands.
const std::string& toolUsage();

// True when the arguments ask for help ("--help" or "-h").
bool wantsHelp(const Arguments& args);

// Exactly one operand, else a UsageError naming what is missing or extra.
const std::string& singleOperand(const Arguments& args, const std::string& what);

} // namespace zk::cli
