// The stand-in for the hidden window: an object on the main thread that the
// workers post their notifications to. Each notification is queued here
// and announced by a posted event of type QEvent::User + its number; the
// main thread takes them in the order posted and hands each to the
// procedure. A message owns its copy of received bytes, so the copy is
// released after the procedure returns, or with the window if it never
// gets there.
#pragma once

#include <QEvent>
#include <QObject>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

struct CommMessage {
    int number = 0;
    uint32_t param1 = 0;
    uint32_t param2 = 0;
    std::unique_ptr<uint8_t[]> data;
};

class CommNotifyWindow final : public QObject {
public:
    using Procedure = std::function<void(const CommMessage&)>;

    explicit CommNotifyWindow(Procedure procedure);
    ~CommNotifyWindow() override;

    // Any thread.
    bool post(CommMessage message);
    // Posted and not yet handed to the procedure.
    size_t pending() const;

    static QEvent::Type eventType(int number) { return static_cast<QEvent::Type>(QEvent::User + number); }

protected:
    bool event(QEvent* e) override;

private:
    Procedure procedure_;
    mutable std::mutex lock_;
    std::deque<CommMessage> queue_;
};
