#include "SystemView.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
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
