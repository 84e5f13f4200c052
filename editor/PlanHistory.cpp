#include "PlanHistory.h"

#include <QUndoCommand>

#include <utility>

namespace zk {

namespace {

// One change to the table: undo puts back the plan as it was before, redo
// the plan as it was after. The change itself has already run when the step
// is pushed, so the first redo has nothing to do.
class TableChange : public QUndoCommand {
public:
    TableChange(ChannelTable& table, PlanSnapshot before, PlanSnapshot after, const QString& text)
        : QUndoCommand(text), table_(table), before_(std::move(before)), after_(std::move(after))
    {
    }

    void undo() override { restorePlan(before_, table_); }
    void redo() override
    {
        if (done_)
            restorePlan(after_, table_);
        done_ = true;
    }

private:
    ChannelTable& table_;
    PlanSnapshot before_;
    PlanSnapshot after_;
    bool done_ = false;
};

} // namespace

PlanHistory::PlanHistory(ChannelTable& table) : table_(table), saved_(capturePlan(table))
{
    // Plans are small; a long session's history costs a few megabytes at most.
    stack_.setUndoLimit(500);
}

void PlanHistory::record(const QString& text, const std::function<void()>& change)
{
    PlanSnapshot before = capturePlan(table_);
    auto keep = [&] {
        PlanSnapshot after = capturePlan(table_);
        if (!(after == before))
            stack_.push(new TableChange(table_, std::move(before), std::move(after), text));
    };
    try {
        change();
    } catch (...) {
        keep();
        throw;
    }
    keep();
}

void PlanHistory::markSaved()
{
    saved_ = capturePlan(table_);
}

bool PlanHistory::modified() const
{
    return !sameFileContent(capturePlan(table_), saved_);
}

} // namespace zk
