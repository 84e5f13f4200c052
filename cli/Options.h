#pragma once
// A command's options: declared as its usage spells them, parsed by
// QCommandLineParser, wrong usage thrown as UsageError.
//
// Every option is one argument, with one dash or two ("-o", "--port"); a
// value follows as the next argument or after '=' ("--port=PATH"). A lone
// "-" (standard input or output) is an operand, as is everything after "--".
#include "Usage.h"

#include <map>
#include <string>
#include <vector>

namespace zk::cli {

// One option: its spelling in the usage ("--port", "-o") and, for one that
// takes a value, what the value is ("a device path"), for the message when
// it is missing or empty. A switch has no value.
struct OptionSpec {
    std::string spelling;
    std::string valueWhat = {};
};

// The options several commands share, worded alike in every message.
inline const OptionSpec kPortOption{"--port", "a device path"};
inline const OptionSpec kTraceOption{"--trace", "a file name"};
inline const OptionSpec kOutputOption{"-o", "a file name"};

// What one command line gave, looked up by the declared spelling.
class ParsedOptions {
public:
    bool has(const std::string& spelling) const;
    // The value given last, or "" when the option was not given.
    std::string value(const std::string& spelling) const;
    // Every value in the order given, for an option that may repeat.
    std::vector<std::string> values(const std::string& spelling) const;

    Arguments operands;

private:
    friend ParsedOptions parseOptions(const Arguments&, const std::vector<OptionSpec>&);
    std::map<std::string, std::vector<std::string>> given_;
};

// Throws a UsageError for an option not in `options` ("unknown option
// '--x'"), a value option without a value or with an empty one ("option
// '--port' needs a device path"), or a switch given a value. Operands are
// not judged here.
ParsedOptions parseOptions(const Arguments& args, const std::vector<OptionSpec>& options);

// The "INPUT -o OUTPUT" shape of the converting commands. inputWhat names
// the operand ("records file"), outputName the option's value in messages
// ("PLAN.bc"). Throws a UsageError for anything else.
struct InputOutput {
    std::string input;
    std::string output;
};
InputOutput inputAndOutput(const Arguments& args, const std::string& inputWhat, const std::string& outputName);

// No options and no operands: anything given is a UsageError.
void refuseArguments(const Arguments& args);

} // namespace zk::cli
