#pragma once
// The options the radio commands share: the ports, --json, --trace, -o, and
// the safety options of a write (--verify, --backup DIR).
#include "FleetProcedures.h"
#include "Usage.h"

#include <string>
#include <vector>

namespace zk::cli {

// Parses "--port PATH" (repeatable), "--all-ports", "--json", "--trace FILE"
// and, when `output` is given, "-o FILE"; other options are refused and
// operands are collected in order.
struct TransferArguments {
    std::vector<std::string> ports;
    bool allPorts = false;
    bool json = false;
    std::string output;
    std::string traceFile;
    Arguments operands;

    // One named port and no --json: the single-radio output.
    bool single() const { return ports.size() == 1 && !allPorts && !json; }
    // The named ports, or every serial port for --all-ports; a usage error
    // when that leaves none or names one twice.
    std::vector<std::string> portList() const;
    // The one port of a command that takes no more; a usage error otherwise.
    const std::string& singlePort() const;
};
TransferArguments parseTransferArguments(const Arguments& args, bool wantsOutput,
                                         const char* outputName = "PLAN.bc");

// Takes "--verify" and "--backup DIR" out of the arguments.
SafetyOptions takeSafetyOptions(Arguments& args);

// The ports' files in the folder -o names (see filePerPort); a usage error
// when it is no folder or two ports would share a file.
std::vector<std::string> filesInOutputFolder(const std::vector<std::string>& ports, const std::string& folder,
                                             const std::string& extension);
// checkBackupFolders, its refusal a usage error.
void checkBackupFoldersOf(const std::vector<std::string>& ports, const SafetyOptions& safety);

} // namespace zk::cli
