#pragma once
// The channel grid: a table widget that never edits a cell itself and tells
// its owner when the user is about to select a channel cell, by mouse or by
// keyboard, also when the cell is already the current one. Shift with a
// click or an arrow, or a click on a channel number, selects a block of
// cells (or whole rows) for the clipboard without bringing up an editor.
#include <QTableWidget>

namespace zk {

class ChannelGrid : public QTableWidget {
    Q_OBJECT
public:
    ChannelGrid(int rows, int columns, QWidget* parent = nullptr);

    // Fixed cells (row 0, column 0) look like headers and cannot be selected.
    void makeFixedCell(int row, int column);

signals:
    // column and row of the channel cell about to be selected.
    void cellSelecting(int column, int row);
    // F4, Alt+Down or Space on a cell whose list is shown: open the list.
    void listRequested();
    // A digit or a point typed on the current channel cell.
    void typedOnCell(int column, int row, const QString& typed);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Typing never jumps to a cell whose text starts with what was typed.
    void keyboardSearch(const QString&) override {}

private:
    bool isChannelCell(const QModelIndex& index) const;
};

} // namespace zk
