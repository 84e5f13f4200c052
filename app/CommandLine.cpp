#include "CommandLine.h"

#include "TextBytes.h"

#include "Version.h"

#include <QCommandLineParser>
#include <QStringList>

namespace zk {

namespace {

const QString kPort = QStringLiteral("port");
const QString kTrace = QStringLiteral("trace");
constexpr const char* kPortNeeds = "--port needs a device path";
constexpr const char* kTraceNeeds = "--trace needs a file name";

// The parser's failures in the words this program has always used, where it
// has words for them; the parser's own otherwise.
std::string failureText(const QCommandLineParser& parser, const std::vector<std::string>& arguments)
{
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        for (const std::string& argument : arguments) {
            const std::size_t begin = argument.rfind("--", 0) == 0 ? 2 : 1;
            if (argument.size() > 1 && argument[0] == '-' &&
                argumentToQt(argument.substr(begin, argument.find('=', begin) - begin)) == unknown.front())
                return "unknown argument '" + argument + "'";
        }
    }
    // The parser misses a value only when its option is the last argument.
    const std::string last = arguments.empty() ? std::string() : arguments.back();
    return last == "--port" ? kPortNeeds : last == "--trace" ? kTraceNeeds : argumentFromQt(parser.errorText());
}

} // namespace

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    parser.addOption(QCommandLineOption(QStringLiteral("version")));
    parser.addOption(QCommandLineOption(kPort, QString(), QStringLiteral("PATH")));
    parser.addOption(QCommandLineOption(kTrace, QString(), QStringLiteral("FILE")));
    QStringList list{QStringLiteral("zk-h41")};
    for (const std::string& argument : arguments)
        list.append(argumentToQt(argument));
    if (!parser.parse(list)) {
        error = failureText(parser, arguments);
        return std::nullopt;
    }

    CommandLine line;
    line.help = parser.isSet(QStringLiteral("help"));
    line.version = parser.isSet(QStringLiteral("version"));
    for (const QString& port : parser.values(kPort)) {
        if (port.isEmpty()) {
            error = kPortNeeds;
            return std::nullopt;
        }
        line.extraPorts.push_back(argumentFromQt(port));
    }
    const QStringList traces = parser.values(kTrace);
    if (traces.contains(QString())) {
        error = kTraceNeeds;
        return std::nullopt;
    }
    if (!traces.isEmpty())
        line.traceFile = argumentFromQt(traces.back());
    const QStringList operands = parser.positionalArguments();
    for (qsizetype i = 0; i < operands.size(); ++i) {
        // The window has no standard input to read a plan from.
        if (i > 0 || operands[i].isEmpty() || operands[i] == QStringLiteral("-")) {
            error = "unknown argument '" + argumentFromQt(operands[i]) + "'";
            return std::nullopt;
        }
        line.planFile = argumentFromQt(operands[i]);
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
