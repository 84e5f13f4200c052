#include "OpenFailure.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Name of the group owning path, empty when it cannot be found out.
std::string owningGroup(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    long size = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 4096);
    group entry {};
    group* found = nullptr;
    while (::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (!found)
        return std::to_string(st.st_gid);
    return found->gr_name;
}

}  // namespace

std::string describeOpenFailure(const std::string& path, int err)
{
    const std::string name = path.empty() ? std::string("(no port chosen)") : path;
    switch (err) {
    case EACCES:
    case EPERM: {
        const std::string group = owningGroup(path);
        if (group.empty())
            return "You have no permission to use " + name + ".";
        return "You have no permission to use " + name + ": the device belongs to the group \"" + group +
               "\" and your user is not a member of it. Add yourself with\n  sudo usermod -aG " + group +
               " $USER\nthen log out and log in again.";
    }
    case EBUSY:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EAGAIN:
        return name + " is in use by another program. Close that program and try again.";
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return name + " does not exist. Is the cable plugged in?";
    case 0:
        return name + " could not be opened.";
    default:
        return "Could not open " + name + ": " + std::strerror(err) + ".";
    }
}
