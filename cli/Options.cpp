#include "Options.h"

#include "TextBytes.h"

#include <QCommandLineParser>
#include <QStringList>

namespace zk::cli {

namespace {

// The parser's name for an option: "--port=PATH" and "-port" name "port".
std::string optionName(const std::string& arg)
{
    const std::size_t begin = arg.rfind("--", 0) == 0 ? 2 : 1;
    return arg.substr(begin, arg.find('=', begin) - begin);
}

const OptionSpec* findOption(const std::vector<OptionSpec>& options, const std::string& name)
{
    for (const OptionSpec& option : options)
        if (optionName(option.spelling) == name)
            return &option;
    return nullptr;
}

std::string needsValue(const OptionSpec& option)
{
    return "option '" + option.spelling + "' needs " + option.valueWhat;
}

// The parser's failures in the words the commands have always used, where
// they have words for it; the parser's own otherwise.
[[noreturn]] void throwFailure(const QCommandLineParser& parser, const Arguments& args,
                               const std::vector<OptionSpec>& options)
{
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        for (const std::string& arg : args) {
            if (arg == "--")
                break;
            if (arg.size() > 1 && arg[0] == '-' && argumentToQt(optionName(arg)) == unknown.front())
                throw UsageError("unknown option '" + arg + "'");
        }
    }
    // The parser misses a value only when its option is the last argument.
    if (!args.empty() && args.back().size() > 1 && args.back()[0] == '-' &&
        args.back().find('=') == std::string::npos) {
        const OptionSpec* option = findOption(options, optionName(args.back()));
        if (option && !option->valueWhat.empty())
            throw UsageError(needsValue(*option));
    }
    throw UsageError(argumentFromQt(parser.errorText()));
}

} // namespace

bool ParsedOptions::has(const std::string& spelling) const
{
    return given_.count(spelling) != 0;
}

std::string ParsedOptions::value(const std::string& spelling) const
{
    const auto found = given_.find(spelling);
    return found == given_.end() || found->second.empty() ? std::string() : found->second.back();
}

std::vector<std::string> ParsedOptions::values(const std::string& spelling) const
{
    const auto found = given_.find(spelling);
    return found == given_.end() ? std::vector<std::string>() : found->second;
}

ParsedOptions parseOptions(const Arguments& args, const std::vector<OptionSpec>& options)
{
    QCommandLineParser parser;
    // One dash or two alike, so "-o" is an option of its own and "-ofile"
    // is refused rather than read as "-o file".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionSpec& option : options) {
        const QString valueName = option.valueWhat.empty() ? QString() : QStringLiteral("value");
        parser.addOption(QCommandLineOption(argumentToQt(optionName(option.spelling)), QString(), valueName));
    }
    QStringList list{QString::fromLatin1(kProgramName)};
    for (const std::string& arg : args)
        list.append(argumentToQt(arg));
    if (!parser.parse(list))
        throwFailure(parser, args, options);

    ParsedOptions parsed;
    for (const OptionSpec& option : options) {
        const QString name = argumentToQt(optionName(option.spelling));
        if (!parser.isSet(name))
            continue;
        std::vector<std::string>& values = parsed.given_[option.spelling];
        for (const QString& value : parser.values(name)) {
            if (value.isEmpty())
                throw UsageError(needsValue(option));
            values.push_back(argumentFromQt(value));
        }
    }
    for (const QString& operand : parser.positionalArguments())
        parsed.operands.push_back(argumentFromQt(operand));
    return parsed;
}

InputOutput inputAndOutput(const Arguments& args, const std::string& inputWhat, const std::string& outputName)
{
    const ParsedOptions parsed = parseOptions(args, {kOutputOption});
    if (parsed.operands.empty())
        throw UsageError("missing " + inputWhat + " (or '-' for standard input)");
    if (parsed.operands.size() > 1)
        throw UsageError("unexpected argument '" + parsed.operands[1] + "'");
    if (!parsed.has(kOutputOption.spelling))
        throw UsageError("missing '-o " + outputName + "'");
    return {parsed.operands.front(), parsed.value(kOutputOption.spelling)};
}

void refuseArguments(const Arguments& args)
{
    const ParsedOptions parsed = parseOptions(args, {});
    if (!parsed.operands.empty())
        throw UsageError("unexpected argument '" + parsed.operands.front() + "'");
}

} // namespace zk::cli
