#include "CommandLine.h"

namespace zk {

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error)
{
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--port") {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                error = "--port needs a device path";
                return std::nullopt;
            }
            line.extraPorts.push_back(arguments[++i]);
        } else if (a.rfind("--port=", 0) == 0 && a.size() > 7) {
            line.extraPorts.push_back(a.substr(7));
        } else if (!a.empty() && a[0] != '-' && line.planFile.empty()) {
            line.planFile = a;
        } else {
            error = "unknown argument '" + a + "'";
            return std::nullopt;
        }
    }
    return line;
}

} // namespace zk
