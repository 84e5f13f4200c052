#include "NotifyWindow.h"

#include "CommTypes.h"

#include <QCoreApplication>

CommNotifyWindow::CommNotifyWindow(Procedure procedure) : procedure_(std::move(procedure)) {}

CommNotifyWindow::~CommNotifyWindow() = default;

bool CommNotifyWindow::post(CommMessage message)
{
    // Queue and event under one lock, so the events come in queue order and
    // each names the message it stands for.
    std::lock_guard guard(lock_);
    const int number = message.number;
    queue_.push_back(std::move(message));
    QCoreApplication::postEvent(this, new QEvent(eventType(number)));
    return true;
}

size_t CommNotifyWindow::pending() const
{
    std::lock_guard guard(lock_);
    return queue_.size();
}

bool CommNotifyWindow::event(QEvent* e)
{
    CommMessage message;
    bool ours = false;
    bool taken = false;
    {
        // The lock is taken before the event is looked at: the event was
        // made by the posting thread under this lock, and the toolkit's own
        // queue lock is invisible to race checkers.
        std::lock_guard guard(lock_);
        const int number = e->type() - QEvent::User;
        ours = number >= COMM_MSG_RECEIVE_DATA && number <= COMM_MSG_SEND_DATA_EMPTY;
        if (ours && !queue_.empty()) {
            message = std::move(queue_.front());
            queue_.pop_front();
            taken = true;
        }
    }
    if (!ours)
        return QObject::event(e);
    if (taken && procedure_)
        procedure_(message);
    return true;
}
