#include "read.h"

#include "Guarded.h"
#include "TransferEngine.h"
#include "TransferWords.h"

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
        zk::showOutcome(messages_, zk::outcomeWords(*ran, zk::Direction::Read, engine_));
        // A record that cannot be decoded skips the rest and leaves the dialog
        // open, as a port that is not ready does.
        if (ran->outcome == zk::TransferOutcome::Succeeded || ran->outcome == zk::TransferOutcome::Failed)
            close();
    });
}
