#pragma once
// Waits, with events handled, until a condition holds or the generous
// limit has passed; the result says which. Tests assert on it.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <functional>

namespace zk::test {

inline bool waitUntil(const std::function<bool()>& condition, int limitMs = 10000)
{
    QDeadlineTimer deadline(limitMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2); // other threads (port workers, virtual radio) get their turn
    }
    return true;
}

} // namespace zk::test
