#include "PlainDialog.h"

#include <QKeyEvent>
#include <QPushButton>

namespace zk {

PlainDialog::PlainDialog(int clientWidth, int clientHeight, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setFixedSize(clientWidth, clientHeight);
    setSizeGripEnabled(false);
}

void PlainDialog::keyPressEvent(QKeyEvent* event)
{
    // Swallowed here, so QDialog neither rejects on Escape nor looks for a
    // button to press on Enter.
    if (event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QPushButton* plainButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace zk
