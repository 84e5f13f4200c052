#include "ChannelGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace zk {

ChannelGrid::ChannelGrid(int rows, int columns, QWidget* parent)
    : QTableWidget(rows, columns, parent)
{
    // The fixed row and column are real cells; Qt's own headers stay hidden.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(10);
    verticalHeader()->setDefaultSectionSize(24);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Tab leaves the grid, as it leaves any other control of the window.
    setTabKeyNavigation(false);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, item);
        }
}

void ChannelGrid::makeFixedCell(int row, int column)
{
    QTableWidgetItem* cell = item(row, column);
    // Disabled items are skipped by keyboard moves and never become current;
    // explicit colours keep them from looking greyed out.
    cell->setFlags(Qt::NoItemFlags);
    cell->setBackground(palette().button());
    cell->setForeground(palette().buttonText());
}

bool ChannelGrid::isChannelCell(const QModelIndex& index) const
{
    return index.isValid() && index.row() > 0 && index.column() > 0;
}

void ChannelGrid::mousePressEvent(QMouseEvent* event)
{
    // By now the focus has already moved to the grid, so an open frequency
    // box has committed to its own cell before the owner hears of the new one.
    const QModelIndex target = indexAt(event->position().toPoint());
    const bool extending = event->modifiers() & Qt::ShiftModifier;
    if (event->button() == Qt::LeftButton && target.isValid() && target.row() > 0 && target.column() == 0) {
        // A channel number selects its whole row; with Shift, the rows up to it.
        const int anchor = extending && currentIndex().isValid() ? currentIndex().row() : target.row();
        clearSelection();
        setCurrentCell(target.row(), 1, QItemSelectionModel::NoUpdate);
        setRangeSelected(QTableWidgetSelectionRange(std::min(anchor, target.row()), 1,
                                                    std::max(anchor, target.row()), columnCount() - 1),
                         true);
        return;
    }
    if (event->button() == Qt::LeftButton && isChannelCell(target) && !extending)
        emit cellSelecting(target.column(), target.row());
    QTableWidget::mousePressEvent(event);
}

void ChannelGrid::keyPressEvent(QKeyEvent* event)
{
    const bool listKey = event->key() == Qt::Key_F4 || event->key() == Qt::Key_Space
                         || (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier));
    if (listKey) {
        emit listRequested();
        return;
    }
    const QString text = event->text();
    const bool typing = text.size() == 1 && QStringLiteral("0123456789.").contains(text[0])
                        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (typing && isChannelCell(currentIndex())) {
        emit typedOnCell(currentIndex().column(), currentIndex().row(), text);
        return;
    }
    const QModelIndex before = currentIndex();
    QTableWidget::keyPressEvent(event);
    const QModelIndex after = currentIndex();
    if (after != before && isChannelCell(after) && !(event->modifiers() & Qt::ShiftModifier))
        emit cellSelecting(after.column(), after.row());
}

} // namespace zk
