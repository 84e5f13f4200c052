#include "SystemView.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace zk {

ProcessIdentity ProcessIdentity::current()
{
    ProcessIdentity self;
    self.pid = ::getpid();
    self.uid = ::geteuid();
    self.gid = ::getegid();
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        self.groups.resize(static_cast<size_t>(count));
        const int got = ::getgroups(count, self.groups.data());
        self.groups.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(self.uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        self.user = found->pw_name;
    return self;
}

bool ProcessIdentity::inGroup(gid_t group) const
{
    return group == gid || std::find(groups.begin(), groups.end(), group) != groups.end();
}

namespace {

std::optional<GroupEntry> systemGroup(gid_t gid)
{
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    int error = 0;
    while ((error = ::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < (std::size_t{1} << 24))
        buffer.resize(buffer.size() * 2);
    if (error != 0 || !found)
        return std::nullopt;
    GroupEntry result{found->gr_name, {}};
    for (char** member = found->gr_mem; member && *member; ++member)
        result.members.emplace_back(*member);
    return result;
}

} // namespace

std::optional<GroupEntry> SystemView::group(gid_t gid) const
{
    if (groupFile == kSystemGroupFile)
        return systemGroup(gid);
    std::ifstream in(groupFile);
    std::string line;
    while (std::getline(in, line)) {
        // name:password:gid:member,member
        std::vector<std::string> fields;
        std::stringstream split(line);
        std::string field;
        while (std::getline(split, field, ':'))
            fields.push_back(field);
        if (fields.size() < 3 || fields[2] != std::to_string(gid))
            continue;
        GroupEntry entry{fields[0], {}};
        if (fields.size() > 3) {
            std::stringstream members(fields[3]);
            while (std::getline(members, field, ','))
                if (!field.empty())
                    entry.members.push_back(field);
        }
        return entry;
    }
    return std::nullopt;
}

std::optional<FileOwner> SystemView::owner(const std::string& path) const
{
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileOwner{st.st_uid, st.st_gid, st.st_mode & 07777, S_ISCHR(st.st_mode)};
}

std::string SystemView::notSerialLine(const std::string& path) const
{
    if (notSerialLineAnswer)
        return notSerialLineAnswer(path);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    if (S_ISREG(st.st_mode))
        return "a regular file";
    if (S_ISDIR(st.st_mode))
        return "a folder";
    if (S_ISFIFO(st.st_mode))
        return "a FIFO";
    if (S_ISSOCK(st.st_mode))
        return "a socket";
    if (S_ISBLK(st.st_mode))
        return "a block device";
    if (!S_ISCHR(st.st_mode))
        return "not a device";
    // Terminals too, but never a line to a radio: /dev/tty stands for
    // whichever terminal this process has, /dev/ptmx makes new ones.
    constexpr unsigned kTtyAuxMajor = 5;
    if (major(st.st_rdev) == kTtyAuxMajor && minor(st.st_rdev) == 0)
        return "a character device (the controlling terminal)";
    if (major(st.st_rdev) == kTtyAuxMajor && minor(st.st_rdev) == 2)
        return "a character device (the pseudo-terminal multiplexer)";
    int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    termios settings {};
    const bool terminal = ::tcgetattr(fd, &settings) == 0;
    ::close(fd);
    return terminal ? std::string() : "a character device";
}

bool SystemView::udevRunning() const
{
    struct stat st {};
    return ::stat(udevRunRoot.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string readTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace zk
