#pragma once
// The channel grid: a table widget that never edits a cell itself and tells
// its owner when the user is about to select a channel cell, by mouse or by
// keyboard, also when the cell is already the current one.
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

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool isChannelCell(const QModelIndex& index) const;
};

} // namespace zk
