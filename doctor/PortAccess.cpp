#include "PortAccess.h"

#include "DeviceInfo.h"
#include "Trimmed.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zk {

namespace {

constexpr mode_t kGroupReadWrite = 060;
constexpr mode_t kOwnerReadWrite = 0600;
constexpr mode_t kOtherReadWrite = 006;

std::string octal(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

bool isMember(const GroupEntry& group, const std::string& user)
{
    return !user.empty() && std::find(group.members.begin(), group.members.end(), user) != group.members.end();
}

bool sameFile(const std::string& target, const std::string& path, const std::string& canonical)
{
    return target == path || (!canonical.empty() && target == canonical);
}

// For a pseudo-terminal /dev/pts/N: N, else -1.
int ptyIndex(const fs::path& device)
{
    const std::string name = device.filename().string();
    if (device.parent_path().filename() != "pts" || name.empty() ||
        name.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoi(name);
}

// Whether the process holds the master side of pseudo-terminal `index`:
// then it is the far end of the line (a virtual device), not a second reader.
bool holdsPtyMaster(const fs::path& process, int index)
{
    std::error_code ec;
    for (fs::directory_iterator fds(process / "fd", ec), end; !ec && fds != end; fds.increment(ec)) {
        std::error_code linkError;
        if (fs::read_symlink(fds->path(), linkError).filename() != "ptmx" || linkError)
            continue;
        const std::string info = readTextFile((process / "fdinfo" / fds->path().filename()).string());
        const auto at = info.find("tty-index:");
        if (at != std::string::npos && std::atoi(info.c_str() + at + 10) == index)
            return true;
    }
    return false;
}

// What root can run to let this user at an owner-only device: hand it to
// the user's own group, or, for a user whose group is root's, open its mode.
// Either lasts until the device node is made again.
std::string rootRemedy(const std::string& path, const SystemView& view)
{
    if (view.self.gid == 0)
        return "as root, let every user use it (until the device is made again): sudo chmod a+rw " + path;
    const auto group = view.group(view.self.gid);
    const std::string name = group ? group->name : std::to_string(view.self.gid);
    return "as root, give your group access (until the device is made again): sudo chgrp " + name + " " + path +
           " && sudo chmod g+rw " + path;
}

// The remedy for a device only its owner may use.
std::string ownerOnlyRemedy(const std::string& path, const SystemView& view, AdviceFor reader)
{
    if (!describeDevice(path, view).usb)
        return rootRemedy(path, view);
    if (!view.udevRunning())
        return "udev is not running here (no " + view.udevRunRoot + "), so no udev rule can help; " +
               rootRemedy(path, view);
    if (reader == AdviceFor::Desktop)
        return "a udev rule can give the logged-in user access: Help > Connection Check shows it";
    return "a udev rule can give the logged-in user access: 'zk-h41-cli doctor --port " + path + "' prints it";
}

} // namespace

AccessCheck checkAccess(const std::string& path, const SystemView& view, AdviceFor reader)
{
    const auto owner = view.owner(path);
    if (!owner)
        return {false, false, "it cannot be looked at",
                reader == AdviceFor::Desktop ? "check the name in the Serial Port list"
                                             : "check the name with 'zk-h41-cli ports'"};
    const ProcessIdentity& self = view.self;
    const bool ownerMay = owner->uid == self.uid && (owner->mode & kOwnerReadWrite) == kOwnerReadWrite;
    const bool groupMay = self.inGroup(owner->gid) && (owner->mode & kGroupReadWrite) == kGroupReadWrite;
    const bool otherMay = (owner->mode & kOtherReadWrite) == kOtherReadWrite;
    if (self.uid == 0 || ownerMay || groupMay || otherMay)
        return {true, false, {}, {}};

    // Root's group is never worth joining: it would open far more than a port.
    if (owner->gid != 0 && (owner->mode & kGroupReadWrite) == kGroupReadWrite) {
        const auto group = view.group(owner->gid);
        const std::string name = group ? group->name : std::to_string(owner->gid);
        if (group && isMember(*group, self.user))
            return {false, false,
                    "your user is in the group \"" + name + "\", which may use it, but this session started before that",
                    "log out and log in again"};
        return {false, false, "the group \"" + name + "\" may use it and your user is not a member",
                "sudo usermod -aG " + name + " $USER, then log out and log in again"};
    }
    return {false, true, "only its owner may use it (mode " + octal(owner->mode) + ") and no group is given access",
            ownerOnlyRemedy(path, view, reader)};
}

std::string permissionAdvice(const std::string& path, const SystemView& view, AdviceFor reader)
{
    const AccessCheck check = checkAccess(path, view, reader);
    if (check.allowed)
        return "You have no permission to use " + path +
               ", although its owner, group and mode allow it: a security policy or an access list refuses it.";
    return "You have no permission to use " + path + ": " + check.problem + ".\nTo fix it: " + check.remedy + ".";
}

std::vector<PortHolder> portHolders(const std::string& path, const SystemView& view)
{
    std::vector<PortHolder> holders;
    std::error_code ec;
    const fs::path canonicalPath = fs::weakly_canonical(path, ec);
    const std::string canonical = ec ? std::string() : canonicalPath.string();
    const int pty = ec ? -1 : ptyIndex(canonicalPath);
    fs::directory_iterator processes(view.procRoot, ec);
    if (ec)
        return holders;
    for (const auto& process : processes) {
        const std::string id = process.path().filename().string();
        if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(id));
        if (pid == view.self.pid)
            continue;
        std::error_code fdError; // another user's descriptors are not ours to see
        for (fs::directory_iterator fds(process.path() / "fd", fdError), end; !fdError && fds != end;
             fds.increment(fdError)) {
            std::error_code linkError;
            const fs::path target = fs::read_symlink(fds->path(), linkError);
            if (!linkError && sameFile(target.string(), path, canonical)) {
                if (pty < 0 || !holdsPtyMaster(process.path(), pty)) {
                    const std::string name = readTextFile((process.path() / "comm").string());
                    holders.push_back({pid, trimmed(name, kBlanksAndLineEnds)});
                }
                break;
            }
        }
    }
    std::sort(holders.begin(), holders.end(), [](const PortHolder& a, const PortHolder& b) { return a.pid < b.pid; });
    return holders;
}

std::string holdersText(const std::string& path, const std::vector<PortHolder>& holders)
{
    std::string text;
    for (const PortHolder& holder : holders) {
        if (!text.empty())
            text += '\n';
        text += (holder.name.empty() ? std::string("a process") : holder.name) + " (pid " +
                std::to_string(holder.pid) + ") also has " + path + " open.";
    }
    return text;
}

} // namespace zk
