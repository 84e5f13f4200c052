#include "FleetProcedures.h"

#include "ChannelFile.h"
#include "ImageFile.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace zk {

namespace {

namespace fs = std::filesystem;

// A comparison's outcome added to a result that went through: differences
// make it a failure that lists them.
void addComparison(PortResult& result, const std::vector<std::string>& differences, const std::string& name)
{
    if (!result.ok)
        return;
    if (differences.empty()) {
        result.lines.push_back("Radio matches " + name);
        return;
    }
    result.ok = false;
    result.lines = {"Radio differs from " + name};
    result.lines.insert(result.lines.end(), differences.begin(), differences.end());
}

// DIR/<device name><extension> for each port; PortListError when two ports
// (/dev/a/radio and /dev/b/radio) would share one.
std::vector<std::string> namedAfterPorts(const std::vector<std::string>& ports, const std::string& folder,
                                         const std::string& extension)
{
    std::vector<std::string> names;
    for (const std::string& port : ports) {
        const std::string name = (fs::path(folder) / fs::path(port).filename()).string() + extension;
        if (std::find(names.begin(), names.end(), name) != names.end())
            throw PortListError("two ports would both go into " + name);
        names.push_back(name);
    }
    return names;
}

const std::string& fileOfPort(const std::vector<std::string>& ports, const std::vector<std::string>& files,
                              const std::string& port)
{
    return files.at(static_cast<std::size_t>(std::find(ports.begin(), ports.end(), port) - ports.begin()));
}

} // namespace

PortProcedure writeProcedure(const ChannelTable& plan, const std::string& planName, const SafetyOptions& safety)
{
    return [plan, planName, safety](const PortContext& context) {
        ChannelTable table = plan; // each radio's engine has a table of its own
        std::vector<TransferStep> steps;
        RadioImage image;
        std::string backupFile;
        if (!safety.backupFolder.empty()) {
            // The folder's name as checkBackupFolders made sure no other port shares.
            const std::string folder = namedAfterPorts({context.port}, safety.backupFolder, {}).front();
            backupFile = newBackupPath(folder, std::chrono::system_clock::now());
            steps.push_back(backupStep(image));
            steps.back().afterwards = [&image, &backupFile] { saveImageFile(backupFile, image); };
        }
        steps.push_back(writeStep());
        std::vector<std::string> differences;
        if (safety.verify)
            steps.push_back(verifyPlanStep(plan, differences));

        // A step that fails names itself (the backup, the check after writing).
        PortResult result = runOnPort(table, steps, context);
        if (!result.ok)
            return result;
        result.lines = {kWriteSuccess};
        result.file = backupFile;
        if (safety.verify && differences.empty())
            result.lines.push_back("verified against " + planName);
        else if (safety.verify)
            addComparison(result, differences, planName);
        return result;
    };
}

PortProcedure verifyProcedure(const ChannelTable& plan, const std::string& planName)
{
    return [plan, planName](const PortContext& context) {
        ChannelTable unused;
        std::vector<std::string> differences;
        PortResult result = runOnPort(unused, {verifyPlanStep(plan, differences)}, context);
        if (result.ok)
            result.lines.clear();
        addComparison(result, differences, planName);
        return result;
    };
}

PortProcedure readProcedure(const std::vector<std::string>& ports, const std::vector<std::string>& files)
{
    return [ports, files](const PortContext& context) {
        const std::string& file = fileOfPort(ports, files, context.port);
        // A fresh table: channel numbers 1..16 and every setting at its first
        // item, then overwritten block by block from the radio.
        ChannelTable table;
        PortResult result = runOnPort(table, {readStep()}, context);
        if (result.ok) {
            saveChannelFile(file, table);
            result.file = file;
        }
        return result;
    };
}

PortProcedure backupProcedure(const std::vector<std::string>& ports, const std::vector<std::string>& files)
{
    return [ports, files](const PortContext& context) {
        const std::string& file = fileOfPort(ports, files, context.port);
        ChannelTable unused;
        RadioImage image;
        TransferStep backup = backupStep(image);
        backup.afterwards = [&image, &file] { saveImageFile(file, image); };
        PortResult result = runOnPort(unused, {backup}, context);
        if (result.ok) {
            result.lines = {"Backup saved"};
            result.file = file;
        }
        return result;
    };
}

std::vector<std::string> filePerPort(const std::vector<std::string>& ports, const std::string& folder,
                                     const std::string& extension)
{
    return namedAfterPorts(ports, folder, extension);
}

void checkBackupFolders(const std::vector<std::string>& ports, const SafetyOptions& safety)
{
    if (!safety.backupFolder.empty())
        namedAfterPorts(ports, safety.backupFolder, {});
}

} // namespace zk
