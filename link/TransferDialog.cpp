#include "TransferDialog.h"

#include "TransferEngine.h"
#include "UserMessages.h"

#include <QProgressBar>
#include <QPushButton>

TransferDialog::TransferDialog(zk::TransferEngine& engine, zk::UserMessages& messages, const QString& caption,
                               const QString& action, const Geometry& geometry, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      engine_(engine), messages_(messages)
{
    setWindowTitle(caption);
    setModal(false);
    setFixedSize(geometry.client);
    move(geometry.position);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 5);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(16, 40, 417, 41);

    Button1 = new QPushButton(action, this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(QRect(geometry.actionButton, QSize(73, 41)));
    Button1->setAutoDefault(false);
    // Enter starts the transfer, wherever the focus is in the dialog.
    Button1->setDefault(true);

    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(296, 96, 73, 41);
    Button2->setAutoDefault(false);
    connect(Button2, &QPushButton::clicked, this, &TransferDialog::Button2Click);
}

void TransferDialog::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TransferDialog::FormShow()
{
    ProgressBar1->setValue(0);
}

void TransferDialog::Button2Click()
{
    hide();
}

void TransferDialog::setProgress(int blocksDone)
{
    ProgressBar1->setValue(blocksDone);
}

std::optional<zk::TransferResult> TransferDialog::runTransfer(const std::function<zk::TransferResult()>& transfer)
{
    std::optional<zk::TransferResult> result;
    const auto run = [&] { result = transfer(); };
    if (aroundTransfer)
        aroundTransfer(run);
    else
        run();
    return result;
}
