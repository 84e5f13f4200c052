#include "write.h"

#include "Guarded.h"
#include "TransferEngine.h"
#include "UserMessages.h"

#include <QPushButton>

TForm6::TForm6(zk::TransferEngine& engine, zk::UserMessages& messages, QWidget* parent)
    : TransferDialog(engine, messages, "Write", "Write", {QPoint(522, 388), QSize(449, 157), QPoint(56, 96)}, parent)
{
    setObjectName("Form6");
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
}

void TForm6::Button1Click()
{
    zk::guarded(messages_, [this] {
        const auto ran = runTransfer([this] { return engine_.write([this](int k) { setProgress(k); }); });
        if (!ran)
            return;
        const zk::TransferResult& result = *ran;
        switch (result.outcome) {
        case zk::TransferOutcome::Busy:
        case zk::TransferOutcome::Aborted:
            return;
        case zk::TransferOutcome::PortNotReady:
            messages_.notice(zk::kWritePortNotReady);
            return;
        case zk::TransferOutcome::Stopped:
            messages_.error(result.error);
            if (!result.sentAnything)
                return; // nothing went out: the user can mend the cell and try again
            // Blocks already acknowledged are in the radio; say the write failed.
            messages_.notice(zk::kWriteError);
            break;
        case zk::TransferOutcome::Succeeded:
            messages_.notice(zk::kWriteSuccess);
            break;
        case zk::TransferOutcome::Failed:
            noticeFailure(zk::kWriteError);
            break;
        }
        close();
    });
}
