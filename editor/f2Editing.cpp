// TForm2's in-place editing handlers; what they do is CellEditors'.
#include "f2.h"

#include "CellEditors.h"
#include "Guarded.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

bool TForm2::commitOpenEditor()
{
    return editors_->commitOpen();
}

void TForm2::discardOpenEditors()
{
    editors_->discard();
}

void TForm2::StringGrid1SelectCell(int column, int row)
{
    zk::guarded(messages_, [&] { editors_->select(column, row); });
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != t1 && watched != t2)
        return QMainWindow::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        bool swallowed = false;
        zk::guarded(messages_, [&] {
            auto* key = static_cast<QKeyEvent*>(event);
            swallowed = watched == t1 ? t1KeyPress(key) : t2KeyPress(key);
        });
        return swallowed;
    }
    if (event->type() == QEvent::FocusOut && !editors_->quiet()) {
        // Opening a menu, or another window becoming active, does not end the
        // edit: the box stays open and commits when the focus really moves on.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::MenuBarFocusReason) {
            if (watched == t1)
                t1Exit();
            else
                t2Exit();
        }
    }
    return false;
}

bool TForm2::t1KeyPress(QKeyEvent* event)
{
    return editors_->keyPress(t1, event);
}

bool TForm2::t2KeyPress(QKeyEvent* event)
{
    return editors_->keyPress(t2, event);
}

void TForm2::t1Exit()
{
    zk::guarded(messages_, [this] { editors_->commit(t1); });
}

void TForm2::t2Exit()
{
    zk::guarded(messages_, [this] { editors_->commit(t2); });
}

void TForm2::t3Click(int index)
{
    listPicked(t3, index);
}

void TForm2::t4Click(int index)
{
    listPicked(t4, index);
}

void TForm2::t5Click(int index)
{
    listPicked(t5, index);
}

void TForm2::t6Click(int index)
{
    listPicked(t6, index);
}

void TForm2::listPicked(QComboBox* list, int index)
{
    zk::guarded(messages_, [&] { editors_->pick(list, index); });
}
