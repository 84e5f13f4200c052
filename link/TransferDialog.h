#pragma once
// The look and the common parts of the read and write dialogs: a progress
// bar of five steps, the action button, Cancel. Modeless; Cancel only hides
// the dialog, a running transfer goes on to its end.
#include <QDialog>

class QProgressBar;
class QPushButton;

namespace zk {
class TransferEngine;
class UserMessages;
struct TransferResult;
} // namespace zk

class TransferDialog : public QDialog {
    Q_OBJECT
public:
    struct Geometry {
        QPoint position;
        QSize client;
        QPoint actionButton;
    };

    QProgressBar* ProgressBar1;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    TransferDialog(zk::TransferEngine& engine, zk::UserMessages& messages, const QString& caption,
                   const QString& action, const Geometry& geometry, QWidget* parent);

    void showEvent(QShowEvent* event) override;
    void FormShow();
    void Button2Click();
    void setProgress(int blocksDone);

    zk::TransferEngine& engine_;
    zk::UserMessages& messages_;
};
