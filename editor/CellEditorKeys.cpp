// CellEditors' keys in a frequency box: the key filter, the arrows that
// leave the box, Escape, and copy and paste of the whole cell.
#include "CellEditors.h"

#include "ChannelGrid.h"
#include "EditRules.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace zk {

namespace {

// The character a key types into a frequency box; 0 for a key that is not
// a typed character and goes to the box as it is.
char32_t typedBy(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Backspace:
        return edit::kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return edit::kEnter;
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0; // editing and focus keys, not typed characters
    default:
        // Cursor keys and the like type nothing. The box's editing keys
        // (undo, paste, select all) type no character; what a paste brings
        // passes the same filter (FrequencyFilter).
        if (event.text().isEmpty() || (event.modifiers() & Qt::ControlModifier))
            return 0;
        return event.text().toUcs4().value(0);
    }
}

} // namespace

bool CellEditors::keyForTheCell(QLineEdit* box, QKeyEvent* event)
{
    // With text selected, the box's own copy and paste act on that text.
    if (box->hasSelectedText())
        return false;
    if (event->matches(QKeySequence::Copy) && copyCell) {
        copyCell();
        return true;
    }
    if (event->matches(QKeySequence::Paste) && pasteCell) {
        pasteCell();
        return true;
    }
    return false;
}

bool CellEditors::keyPress(QLineEdit* box, QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return leaveByArrow(box, event);
    case Qt::Key_Escape:
        // The typing is dropped: the cell keeps its text.
        discard();
        giveGridTheKeyboard();
        return true;
    default:
        break;
    }
    if (keyForTheCell(box, event))
        return true;
    const char32_t typed = typedBy(*event);
    if (typed == 0)
        return false;
    switch (edit::filterKey(static_cast<std::size_t>(box->text().size()), typed)) {
    case edit::KeyAction::Pass:
        return false;
    case edit::KeyAction::Drop:
        return true;
    case edit::KeyAction::EndEdit:
        // Hiding the focused box moves the focus on, which commits it; the
        // grid then keeps the keyboard.
        box->hide();
        giveGridTheKeyboard();
        return true;
    }
    return true;
}

bool CellEditors::leaveByArrow(QLineEdit* box, QKeyEvent* event)
{
    // Left and Right move the cursor inside the text; at its ends, and Up
    // and Down always, they leave the box for the next cell, as a
    // spreadsheet does. The box commits as it loses the focus.
    const int key = event->key();
    if (event->modifiers() & ~Qt::KeypadModifier)
        return false;
    if ((key == Qt::Key_Left && box->cursorPosition() > 0)
        || (key == Qt::Key_Right && box->cursorPosition() < box->text().size()))
        return false;
    box->hide();
    giveGridTheKeyboard();
    QKeyEvent move(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&grid_, &move);
    return true;
}

} // namespace zk
