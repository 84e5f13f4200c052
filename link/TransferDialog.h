#pragma once
// The look and the common parts of the read and write dialogs: a progress
// bar of five steps, the action button, Cancel. Modeless; Cancel only hides
// the dialog, a running transfer goes on to its end.
#include <QDialog>

#include <functional>
#include <optional>

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

    // The owner of the table may wrap the transfer: settle an edit that is
    // still open first, or keep the change for undo. A wrapper that does not
    // call run stops the transfer before anything is sent. Unset: run as is.
    std::function<void(const std::function<void()>& run)> aroundTransfer;

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
    // The transfer's result, or nothing when aroundTransfer did not run it.
    std::optional<zk::TransferResult> runTransfer(const std::function<zk::TransferResult()>& transfer);

    zk::TransferEngine& engine_;
    zk::UserMessages& messages_;
};
