#include "TransferOptions.h"

#include "SerialPortList.h"

#include <algorithm>
#include <filesystem>

namespace zk::cli {

const std::string& TransferArguments::singlePort() const
{
    if (!single())
        throw UsageError("this command takes a single --port, without --all-ports or --json");
    return ports.front();
}

std::vector<std::string> TransferArguments::portList() const
{
    std::vector<std::string> list = ports;
    if (allPorts) {
        // The list leaves the consoles out, so --all-ports never takes one over.
        for (const std::string& port : enumerateSerialPorts())
            if (std::find(list.begin(), list.end(), port) == list.end())
                list.push_back(port);
        if (list.empty())
            throw UsageError("--all-ports: no serial port found");
    }
    // A device under two names (a by-id link and its node) would be opened
    // twice, and the second opening fail as if that radio were at fault.
    std::vector<std::string> devices;
    for (const std::string& port : list) {
        std::error_code error;
        const std::string device = std::filesystem::weakly_canonical(port, error).string();
        const auto same = std::find(devices.begin(), devices.end(), error ? port : device);
        if (same != devices.end())
            throw UsageError("port '" + port + "' is the same device as '" +
                             list[static_cast<std::size_t>(same - devices.begin())] + "'");
        devices.push_back(error ? port : device);
    }
    return list;
}

TransferArguments parseTransferArguments(const Arguments& args, bool wantsOutput, const char* outputName)
{
    TransferArguments parsed;
    bool haveOutput = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--port") {
            parsed.ports.push_back(optionValue(args, i, "a device path"));
        } else if (arg == "--all-ports") {
            parsed.allPorts = true;
        } else if (arg == "--json") {
            parsed.json = true;
        } else if (arg == "--trace") {
            parsed.traceFile = optionValue(args, i, "a file name");
        } else if (wantsOutput && arg == "-o") {
            parsed.output = optionValue(args, i, "a file name");
            haveOutput = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option '" + arg + "'");
        } else {
            parsed.operands.push_back(arg);
        }
    }
    if (parsed.ports.empty() && !parsed.allPorts)
        throw UsageError("missing '--port PATH'");
    if (!parsed.single() && !parsed.traceFile.empty())
        throw UsageError("--trace takes a single port");
    if (wantsOutput && !haveOutput)
        throw UsageError(std::string("missing '-o ") + outputName + "'");
    return parsed;
}

SafetyOptions takeSafetyOptions(Arguments& args)
{
    SafetyOptions options;
    Arguments rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--verify")
            options.verify = true;
        else if (args[i] == "--backup")
            options.backupFolder = optionValue(args, i, "a folder");
        else
            rest.push_back(args[i]);
    }
    args = rest;
    return options;
}

std::vector<std::string> filesInOutputFolder(const std::vector<std::string>& ports, const std::string& folder,
                                             const std::string& extension)
{
    if (!std::filesystem::is_directory(folder))
        throw UsageError("with several ports, -o names an existing folder");
    try {
        return filePerPort(ports, folder, extension);
    } catch (const PortListError& e) {
        throw UsageError(e.what());
    }
}

void checkBackupFoldersOf(const std::vector<std::string>& ports, const SafetyOptions& safety)
{
    try {
        checkBackupFolders(ports, safety);
    } catch (const PortListError& e) {
        throw UsageError(e.what());
    }
}

} // namespace zk::cli
