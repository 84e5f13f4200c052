#pragma once
// Copy, cut, paste and delete of a block of channel cells as tab-separated
// text. The rules are ClipboardRules'; this moves texts between the grid's
// selection, the system clipboard and the table, each change one undo step.
#include "ClipboardRules.h"

#include <optional>

class QString;

namespace zk {
class CellEditors;
class ChannelGrid;
class PlanHistory;
class UserMessages;

class GridClipboard {
public:
    // All outlive this.
    GridClipboard(ChannelGrid& grid, CellEditors& editors, ChannelTable& table, PlanHistory& history,
                  UserMessages& messages);

    void copy();
    void cut();
    void paste();
    void erase();

private:
    // Commits an open edit, then the selected cells (or the current one);
    // nothing when the commit was refused or no channel cell is selected.
    std::optional<clip::CellRange> rangeToEdit();
    void eraseRange(const clip::CellRange& range, const QString& stepName);

    ChannelGrid& grid_;
    CellEditors& editors_;
    ChannelTable& table_;
    PlanHistory& history_;
    UserMessages& messages_;
};

} // namespace zk
