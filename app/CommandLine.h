#pragma once
// The program's command line: any number of `--port PATH` that add serial
// devices (virtual ones, say) to the port list, `--trace FILE`, and at most
// one channel file to open after the login; `--help` and `--version` answer
// and end the program. A value may also follow its option after '='.
#include <optional>
#include <string>
#include <vector>

namespace zk {

struct CommandLine {
    std::vector<std::string> extraPorts;
    bool help = false;
    bool version = false;
    std::string traceFile; // --trace FILE: the serial trace, empty for none
    std::string planFile; // a channel file to open after the login
};

// The options after the program name; nothing for anything else, with the
// reason in error.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error);

inline constexpr const char* kUsage = "Usage: zk-h41 [--port PATH]... [--trace FILE] [PLAN.bc]";

// What --help prints; sideFiles says where the password, title and picture
// are kept for this user.
std::string helpText(const std::string& sideFiles);

// What --version prints.
std::string versionText();

} // namespace zk
