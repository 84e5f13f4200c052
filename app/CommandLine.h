#pragma once
// The program's command line: any number of `--port PATH` that add serial
// devices (virtual ones, say) to the port list, and at most one channel file
// to open after the login.
#include <optional>
#include <string>
#include <vector>

namespace zk {

struct CommandLine {
    std::vector<std::string> extraPorts;
    std::string planFile; // a channel file to open after the login
};

// The options after the program name; nothing for anything else, with the
// reason in error.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error);

inline constexpr const char* kUsage = "Usage: zk-h41 [--port PATH]... [PLAN.bc]";

} // namespace zk
