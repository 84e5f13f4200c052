#include "PathPortEvents.h"

#include <QSocketNotifier>

#include <filesystem>

#include <sys/inotify.h>
#include <unistd.h>

namespace zk {

namespace {

constexpr std::uint32_t kFolderChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB;

} // namespace

PathPortEvents::PathPortEvents(std::vector<std::string> paths, int lookIntervalMs)
    : paths_(std::move(paths)), present_(paths_.size(), false), watches_(paths_.size(), -1)
{
    timer_.setInterval(lookIntervalMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { lookAtAll(); });
}

PathPortEvents::~PathPortEvents()
{
    notifier_.reset();
    if (inotify_ >= 0)
        ::close(inotify_);
}

void PathPortEvents::start()
{
    inotify_ = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (inotify_ >= 0) {
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            const std::string folder = std::filesystem::path(paths_[i]).parent_path().string();
            watches_[i] = ::inotify_add_watch(inotify_, folder.empty() ? "." : folder.c_str(), kFolderChanges);
        }
        notifier_ = std::make_unique<QSocketNotifier>(inotify_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readNotices(); });
    }
    lookAtAll();
    timer_.start();
}

void PathPortEvents::look(std::size_t index)
{
    std::error_code error;
    const bool exists = std::filesystem::exists(paths_[index], error);
    if (exists == present_[index])
        return;
    present_[index] = exists;
    deliver({exists ? PortEvent::Kind::Added : PortEvent::Kind::Removed, paths_[index]});
}

void PathPortEvents::lookAtAll()
{
    for (std::size_t i = 0; i < paths_.size(); ++i)
        look(i);
}

void PathPortEvents::readNotices()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = ::read(inotify_, buffer, sizeof buffer);
        if (length <= 0)
            return;
        for (ssize_t offset = 0; offset < length;) {
            const auto* notice = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + notice->len);
            if (notice->mask & IN_Q_OVERFLOW) {
                lookAtAll();
                continue;
            }
            const std::string name = notice->len > 0 ? std::string(notice->name) : std::string();
            for (std::size_t i = 0; i < paths_.size(); ++i) {
                if (watches_[i] != notice->wd || std::filesystem::path(paths_[i]).filename() != name)
                    continue;
                // In order: a removal, even of a path already made again,
                // is seen before the making.
                if (notice->mask & (IN_DELETE | IN_MOVED_FROM)) {
                    if (present_[i]) {
                        present_[i] = false;
                        deliver({PortEvent::Kind::Removed, paths_[i]});
                    }
                } else {
                    look(i);
                }
            }
        }
    }
}

} // namespace zk
