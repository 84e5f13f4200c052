#pragma once
// The options the radio commands share: the ports, --json, --trace, -o, and
// the safety options of a write (--verify, --backup DIR).
#include "FleetProcedures.h"
#include "Options.h"

#include <string>
#include <vector>

namespace zk::cli {

// The safety options of a write, worded alike wherever radios are written.
inline const OptionSpec kVerifyOption{"--verify"};
inline const OptionSpec kBackupOption{"--backup", "a folder"};
// The pause between two steps on one port (after the end byte).
inline const OptionSpec kSettleOption{"--settle", "milliseconds"};

// What a radio command takes besides "--port PATH" (repeatable),
// "--all-ports", "--json" and "--trace FILE".
struct TransferShape {
    // "-o FILE", required; the name words the message when it is missing.
    const char* outputName = nullptr;
    // "--verify" and "--backup DIR".
    bool safety = false;
    // "--settle MS": the command runs several steps on one port.
    bool severalSteps = false;
};

// A radio command's options; anything the shape does not take is refused,
// operands are collected in order.
struct TransferArguments {
    std::vector<std::string> ports;
    bool allPorts = false;
    bool json = false;
    std::string output;
    std::string traceFile;
    SafetyOptions safety;
    int settleMs = kStepSettleMs;
    Arguments operands;

    // One named port and no --json: the single-radio output.
    bool single() const { return ports.size() == 1 && !allPorts && !json; }
    // The named ports, or every serial port for --all-ports; a usage error
    // when that leaves none or names one twice.
    std::vector<std::string> portList() const;
    // The one port of a command that takes no more; a usage error otherwise.
    const std::string& singlePort() const;
};
TransferArguments parseTransferArguments(const Arguments& args, const TransferShape& shape = {});

// The --verify and --backup given, for a command that declared them;
// "--backup -" is a usage error (a backup is a folder, not a stream).
SafetyOptions safetyOptionsOf(const ParsedOptions& options);

// The option's value as milliseconds, 0 to 999999; `otherwise` when not given.
int millisecondsOf(const ParsedOptions& options, const OptionSpec& option, int otherwise);

// A usage error when two of the ports are one device under two names (a
// link and its node): the second opening would fail as if its radio were
// at fault.
void refuseSameDevice(const std::vector<std::string>& ports);

// The ports' files in the folder -o names (see filePerPort); a usage error
// when it is no folder or two ports would share a file.
std::vector<std::string> filesInOutputFolder(const std::vector<std::string>& ports, const std::string& folder,
                                             const std::string& extension);
// checkBackupFolders, its refusal a usage error.
void checkBackupFoldersOf(const std::vector<std::string>& ports, const SafetyOptions& safety);

} // namespace zk::cli
