#include "CommandLine.h"

#include "Version.h"

namespace zk {

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error)
{
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--help" || a == "-h") {
            line.help = true;
        } else if (a == "--version") {
            line.version = true;
        } else if (a == "--port") {
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
        } else if (!a.empty() && a[0] != '-' && line.planFile.empty()) {
            line.planFile = a;
        } else {
            error = "unknown argument '" + a + "'";
            return std::nullopt;
        }
    }
    return line;
}

std::string helpText(const std::string& sideFiles)
{
    return std::string(kUsage) + "\n"
        "\n"
        "The ZK-H41 programming tool: edit the radio's sixteen channels and five\n"
        "settings, read them from the radio, write them into it, keep them in .bc files.\n"
        "\n"
        "  --port PATH   add a serial device (the virtual radio's, say) to the port\n"
        "                list; may be given more than once\n"
        "  --trace FILE  write every byte sent to and received from the radio, with\n"
        "                times and port events, into FILE as it happens\n"
        "  PLAN.bc       a channel file to open after the login\n"
        "  --help        print this help and exit\n"
        "  --version     print the version and exit\n"
        "\n"
        "The program starts at the login window; the default password is 123456.\n"
        "Password (1.bc), title (2.bc) and login picture (1.jpg):\n"
        "  " + sideFiles + "\n";
}

std::string versionText()
{
    return versionLine("zk-h41");
}

} // namespace zk
