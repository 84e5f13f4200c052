#include "CableWatch.h"

#include "DevicePaths.h"

namespace zk {

void CableWatch::opened(const std::string& name)
{
    open_ = describeDevice(name, view_);
    awaited_.reset();
}

bool CableWatch::unplugged()
{
    if (!open_)
        return false;
    awaited_ = open_;
    open_.reset();
    return true;
}

bool CableWatch::removes(const std::string& devNode, const std::string& openName)
{
    // One node under two names (a link such as /dev/serial/by-id/...) is
    // still the same device.
    return sameDevice(devNode, openName);
}

bool CableWatch::bringsBack(const std::string& devNode) const
{
    return awaited_ && describeDevice(devNode, view_).sameAdapter(*awaited_);
}

} // namespace zk
