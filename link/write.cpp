#include "write.h"

#include "Guarded.h"
#include "TransferEngine.h"
#include "TransferWords.h"

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
        zk::showOutcome(messages_, zk::outcomeWords(*ran, zk::Direction::Write, engine_));
        using zk::TransferOutcome;
        // A cell that cannot be stored, found before anything went out,
        // leaves the dialog open for the user to mend it and try again.
        const bool over = ran->outcome == TransferOutcome::Succeeded || ran->outcome == TransferOutcome::Failed ||
                          (ran->outcome == TransferOutcome::Stopped && ran->sentAnything);
        if (over)
            close();
    });
}
