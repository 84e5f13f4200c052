#pragma once
// The plan's history: every change to the channel table as one undo step,
// and whether the table differs from the file last opened or saved.
#include "PlanSnapshot.h"

#include <QUndoStack>

#include <functional>

namespace zk {

class PlanHistory {
public:
    explicit PlanHistory(ChannelTable& table);

    // Runs change on the table and keeps what it changed as one undo step
    // called text; nothing is kept when it changed nothing. An error stops
    // the change part-way: what it did stays done, and undoable, and the
    // error goes on to the caller.
    void record(const QString& text, const std::function<void()>& change);

    // The table now is what the file holds (opened or saved), or what a new
    // plan starts from.
    void markSaved();
    // Rows or settings differ from that.
    bool modified() const;

    QUndoStack& stack() { return stack_; }

private:
    ChannelTable& table_;
    PlanSnapshot saved_;
    QUndoStack stack_;
};

} // namespace zk
