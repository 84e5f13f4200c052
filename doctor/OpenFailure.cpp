#include "OpenFailure.h"

#include "PortAccess.h"

#include <cerrno>
#include <cstring>

std::string describeOpenFailure(const std::string& path, int err, const zk::SystemView& view, zk::AdviceFor reader)
{
    const std::string name = path.empty() ? std::string("(no port chosen)") : path;
    switch (err) {
    case EACCES:
    case EPERM:
        return zk::permissionAdvice(name, view, reader);
    case EBUSY:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EAGAIN: {
        std::string text = name + " is in use by another program. Close that program and try again.";
        const std::string holders = zk::holdersText(name, zk::portHolders(name, view));
        return holders.empty() ? text : text + "\n" + holders;
    }
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
