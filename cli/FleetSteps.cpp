#include "FleetSteps.h"

#include "ImageFile.h"
#include "RadioTransfer.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>

namespace zk::cli {

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

// DIR/<device name><extension> for each port; a usage error when two ports
// (/dev/a/radio and /dev/b/radio) would share one.
std::vector<std::string> namedAfterPorts(const std::vector<std::string>& ports, const std::string& folder,
                                         const std::string& extension)
{
    std::vector<std::string> names;
    for (const std::string& port : ports) {
        const std::string name = (fs::path(folder) / fs::path(port).filename()).string() + extension;
        if (std::find(names.begin(), names.end(), name) != names.end())
            throw UsageError("two ports would both go into " + name);
        names.push_back(name);
    }
    return names;
}

} // namespace

PortProcedure writeProcedure(const ChannelTable& plan, const std::string& planName, const SafetyOptions& safety)
{
    return [plan, planName, safety](const PortContext& context) {
        ChannelTable table = plan; // each radio's engine has a table of its own
        std::vector<RadioStep> steps;
        RadioImage image;
        std::ostringstream saved;
        std::string backupFile;
        if (!safety.backupFolder.empty()) {
            // The folder's name as checkBackupFolders made sure no other port shares.
            const std::string folder = namedAfterPorts({context.port}, safety.backupFolder, {}).front();
            backupFile = newBackupPath(folder, std::chrono::system_clock::now());
            steps.push_back(backupStep(image, backupFile, saved));
        }
        steps.push_back(transferStep(Direction::Write));
        std::vector<std::string> differences;
        if (safety.verify)
            steps.push_back(verifyPlanStep(plan, differences));

        PortResult result = runOnPort(table, steps, context);
        if (!result.ok) {
            if (!backupFile.empty() && result.stepsDone == 0 && result.sentAnything)
                result.lines.push_back("the backup read failed: nothing was written");
            else if (safety.verify && result.stepsDone + 1 == steps.size())
                result.lines.push_back("written, but reading it back to verify failed");
            return result;
        }
        result.lines = {kWriteSuccess};
        result.file = backupFile;
        if (safety.verify)
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

PortProcedure backupProcedure(const std::vector<std::string>& ports, const std::vector<std::string>& files)
{
    return [ports, files](const PortContext& context) {
        const std::string& file = fileOfPort(ports, files, context.port);
        ChannelTable unused;
        RadioImage image;
        std::ostringstream saved;
        PortResult result = runOnPort(unused, {backupStep(image, file, saved)}, context);
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
    if (!fs::is_directory(folder))
        throw UsageError("with several ports, -o names an existing folder");
    return namedAfterPorts(ports, folder, extension);
}

void checkBackupFolders(const std::vector<std::string>& ports, const SafetyOptions& safety)
{
    if (!safety.backupFolder.empty())
        namedAfterPorts(ports, safety.backupFolder, {});
}

const std::string& fileOfPort(const std::vector<std::string>& ports, const std::vector<std::string>& files,
                              const std::string& port)
{
    return files.at(static_cast<std::size_t>(std::find(ports.begin(), ports.end(), port) - ports.begin()));
}

} // namespace zk::cli
