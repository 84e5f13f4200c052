#pragma once
// Named paths coming and going, for ports udev does not announce or that
// the user names (a link made by a udev rule, the virtual radio's link).
// The kernel's notices on the paths' folders are taken in order, so a path
// removed and made again at once is seen as Removed, then Added; a slow
// look at every path backs them up (a folder that does not exist yet, a
// link whose target comes later). A path counts as present when it exists,
// a symbolic link once its target does.
#include "PortEvents.h"

#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace zk {

class PathPortEvents final : public PortEventSource {
public:
    explicit PathPortEvents(std::vector<std::string> paths, int lookIntervalMs = 1000);
    ~PathPortEvents() override;
    PathPortEvents(const PathPortEvents&) = delete;
    PathPortEvents& operator=(const PathPortEvents&) = delete;

    // Looks at once (paths already there are Added now), then follows them.
    void start();

private:
    void look(std::size_t index);
    void lookAtAll();
    void readNotices();

    std::vector<std::string> paths_;
    std::vector<bool> present_;
    std::vector<int> watches_; // each path's folder watch, -1 for none
    int inotify_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer timer_;
};

} // namespace zk
