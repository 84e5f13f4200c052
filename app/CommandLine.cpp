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
        } else if (a == "--trace") {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                error = "--trace needs a file name";
                return std::nullopt;
            }
            line.traceFile = arguments[++i];
        } else {
            error = "unknown argument '" + a + "'";
            return std::nullopt;
        }
    }
    return line;
}

} // namespace zk
