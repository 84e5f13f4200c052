#pragma once
// The in-place editors over the channel grid: the frequency boxes t1 and t2,
// the lists t3 to t6, and the hidden current cell (Col, Row). Which editor
// comes up over a selected cell, the frequency boxes' key filter, and the
// commits that write the table as undo steps.
#include <QList>
#include <QRect>
#include <QString>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QObject;
class QWidget;

namespace zk {
class ChannelGrid;
class ChannelTable;
class PlanHistory;
class UserMessages;

// A drop-down list that only picks among items.
QComboBox* pickOnlyList(const std::vector<std::string>& items, QWidget* parent);

class CellEditors {
public:
    // Makes the editors as hidden children of window, over grid; keyFilter
    // sees the frequency boxes' keys and focus. All outlive this.
    CellEditors(QWidget& window, ChannelGrid& grid, ChannelTable& table, PlanHistory& history,
                UserMessages& messages, QObject& keyFilter);

    QLineEdit* const t1;
    QLineEdit* const t2;
    QComboBox* const t3;
    QComboBox* const t4;
    QComboBox* const t5;
    QComboBox* const t6;
    QLineEdit* const Col;
    QLineEdit* const Row;

    // Ctrl+C and Ctrl+V in a frequency box with no text selected act on the
    // cell, as the grid's Copy and Paste do; unset, the box keeps the keys.
    std::function<void()> copyCell;
    std::function<void()> pasteCell;

    int currentColumn() const;
    int currentRow() const;

    // A channel cell is being selected: it becomes current and its editor
    // comes up, every other one hidden.
    void select(int column, int row);
    // A character typed on a selected frequency cell while no box is open:
    // the box comes up holding what was typed, through the key filter.
    void startTyping(int column, int row, const QString& typed);
    // A key typed into t1 or t2; true when it is swallowed.
    bool keyPress(QLineEdit* box, QKeyEvent* event);
    // Whether the focus leaving a box now commits it.
    bool quiet() const { return quiet_; }
    // Writes a frequency box into its cell; false when the entry was refused.
    bool commit(QLineEdit* box);
    // Writes the picked item into the current cell.
    void pick(QComboBox* list, int index);
    // Commits an open frequency box as if the user had left it; false when
    // the commit was refused.
    bool commitOpen();
    // Closes every editor without writing.
    void discard();
    // Keeps a visible editor over its cell when the contents scroll; one
    // whose cell has gone out of sight is committed (a list just hidden).
    void placeOpen();
    // Opens the list shown over the current cell.
    void openList();

private:
    std::array<QWidget*, 6> all() const;
    void hideAll();
    QRect rectOf(int column, int row, int height) const;
    QRect cellOnWindow(int column, int row) const;
    // The part of the window where the grid can be seen.
    QRect visibleArea() const;
    void bringIntoView(int column, int row);
    bool keyForTheCell(QLineEdit* box, QKeyEvent* event);
    bool leaveByArrow(QLineEdit* box, QKeyEvent* event);
    void giveGridTheKeyboard();

    QWidget& window_;
    ChannelGrid& grid_;
    ChannelTable& table_;
    PlanHistory& history_;
    UserMessages& messages_;
    bool quiet_ = false; // hiding an editor now writes nothing
};

} // namespace zk
