// Where the checks of a serial connection look at the system: the roots of
// /sys, /proc, /dev and /run/udev, the group file, and who this process is. The real
// view is the running system; tests point the roots at a prepared tree and
// give the process whatever user and groups the case needs.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zk {

struct ProcessIdentity {
    pid_t pid = 0;
    uid_t uid = 0; // effective ids: what the kernel checks on open
    gid_t gid = 0;
    std::vector<gid_t> groups; // supplementary groups of this session
    std::string user;          // login name, for the group file's member lists

    static ProcessIdentity current();
    bool inGroup(gid_t group) const;
};

struct GroupEntry {
    std::string name;
    std::vector<std::string> members;
};

struct FileOwner {
    uid_t uid = 0;
    gid_t gid = 0;
    mode_t mode = 0;
    bool charDevice = false;
};

struct SystemView {
    static constexpr const char* kSystemGroupFile = "/etc/group";

    std::string sysRoot = "/sys";
    std::string procRoot = "/proc";
    std::string devRoot = "/dev";
    std::string groupFile = kSystemGroupFile; // the system's: asked of the name service
    std::string udevRunRoot = "/run/udev";     // there only while udev runs
    ProcessIdentity self = ProcessIdentity::current();

    // The group's entry for a group id, or nothing: from the name service
    // (so LDAP and sssd groups count too) for the system's group file, else
    // from the file named.
    std::optional<GroupEntry> group(gid_t gid) const;
    // Owner, group and mode of a path (links followed), or nothing.
    std::optional<FileOwner> owner(const std::string& path) const;

    // What a path that is no serial line is ("a character device", "a
    // regular file", "the controlling terminal"), or empty for a serial
    // line: a terminal device on which tcgetattr succeeds. Asking opens the
    // device; when that is refused (no permission, in use), empty too.
    std::string notSerialLine(const std::string& path) const;
    // Tests answer here for the nodes of their prepared tree; unset asks the device.
    std::function<std::string(const std::string& path)> notSerialLineAnswer;
    // udev runs, so its rules take effect: containers and minimal systems
    // often have none.
    bool udevRunning() const;
};

// The whole file, or empty when it cannot be read.
std::string readTextFile(const std::string& path);

} // namespace zk
