#pragma once
// A fixed-size modal dialog with only a close box whose buttons answer to
// clicks alone: QDialog would otherwise press a default button on Enter and
// close itself on Escape.
#include <QDialog>

class QPushButton;

namespace zk {

class PlainDialog : public QDialog {
    Q_OBJECT
public:
    PlainDialog(int clientWidth, int clientHeight, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Turns off the default-button behaviour QDialog gives its push buttons.
QPushButton* plainButton(const QString& text, const QString& name, QWidget* parent);

} // namespace zk
