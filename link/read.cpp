#include "read.h"

#include "Guarded.h"
#include "TransferEngine.h"
#include "UserMessages.h"

#include <QPushButton>

TForm5::TForm5(zk::TransferEngine& engine, zk::UserMessages& messages, QWidget* parent)
    : TransferDialog(engine, messages, "Read", "Read", {QPoint(526, 392), QSize(449, 148), QPoint(48, 96)}, parent)
{
    setObjectName("Form5");
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
}

void TForm5::Button1Click()
{
    zk::guarded(messages_, [this] {
        const auto ran = runTransfer([this] { return engine_.read([this](int k) { setProgress(k); }); });
        if (!ran)
            return;
        const zk::TransferResult& result = *ran;
        switch (result.outcome) {
        case zk::TransferOutcome::Busy:
        case zk::TransferOutcome::Aborted:
            return;
        case zk::TransferOutcome::PortNotReady:
            messages_.notice(zk::kReadPortNotReady);
            return;
        case zk::TransferOutcome::Stopped:
            // A record that cannot be decoded: the rest is skipped and the
            // dialog stays open.
            messages_.error(result.error);
            return;
        case zk::TransferOutcome::Succeeded:
            messages_.notice(zk::kReadSuccess);
            break;
        case zk::TransferOutcome::Failed:
            noticeFailure(zk::kReadError);
            break;
        }
        close();
    });
}
