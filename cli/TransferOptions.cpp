#include "TransferOptions.h"

#include "DevicePaths.h"
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
    refuseSameDevice(list);
    return list;
}

void refuseSameDevice(const std::vector<std::string>& ports)
{
    for (std::size_t i = 0; i < ports.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (sameDevice(ports[i], ports[j]))
                throw UsageError("port '" + ports[i] + "' is the same device as '" + ports[j] + "'");
}

int millisecondsOf(const ParsedOptions& options, const OptionSpec& option, int otherwise)
{
    if (!options.has(option.spelling))
        return otherwise;
    const std::string value = options.value(option.spelling);
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos || value.size() > 6)
        throw UsageError("option '" + std::string(option.spelling) + "' needs milliseconds (0 to 999999)");
    return std::stoi(value);
}

TransferArguments parseTransferArguments(const Arguments& args, const TransferShape& shape)
{
    std::vector<OptionSpec> specs{kPortOption, {"--all-ports"}, {"--json"}, kTraceOption};
    if (shape.outputName)
        specs.push_back(kOutputOption);
    if (shape.safety)
        specs.insert(specs.end(), {kVerifyOption, kBackupOption});
    if (shape.safety || shape.severalSteps)
        specs.push_back(kSettleOption);
    const ParsedOptions options = parseOptions(args, specs);

    TransferArguments parsed;
    parsed.ports = options.values(kPortOption.spelling);
    parsed.allPorts = options.has("--all-ports");
    parsed.json = options.has("--json");
    parsed.traceFile = options.value(kTraceOption.spelling);
    parsed.output = options.value(kOutputOption.spelling);
    if (shape.safety)
        parsed.safety = safetyOptionsOf(options);
    parsed.settleMs = millisecondsOf(options, kSettleOption, kStepSettleMs);
    parsed.operands = options.operands;
    if (parsed.ports.empty() && !parsed.allPorts)
        throw UsageError("missing '--port PATH'");
    if (!parsed.single() && !parsed.traceFile.empty())
        throw UsageError("--trace takes a single port");
    if (shape.outputName && !options.has(kOutputOption.spelling))
        throw UsageError(std::string("missing '-o ") + shape.outputName + "'");
    return parsed;
}

SafetyOptions safetyOptionsOf(const ParsedOptions& options)
{
    SafetyOptions safety;
    safety.verify = options.has(kVerifyOption.spelling);
    safety.backupFolder = options.value(kBackupOption.spelling);
    if (safety.backupFolder == "-")
        throw UsageError("--backup needs a folder; '-' is not one");
    return safety;
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
