// TForm2's Connection Check: what stands between the user and the port
// chosen in the list, and whether the radio answers on it, in a window of
// its own.
#include "f2.h"

#include "ConnectionCheckWindow.h"
#include "Guarded.h"
#include "PortChoice.h"
#include "WindowConnectionCheck.h"

#include <QComboBox>

void TForm2::connectionCheckClick()
{
    zk::guarded(messages_, [this] {
        const zk::CheckReport report = zk::checkConnectionFromWindow(
            ComboBox1->currentText().toStdString(), portReady(), portChoice_->view(), engine_, link_);
        auto* window = new zk::ConnectionCheckWindow(qtext(report.text()), this);
        window->show();
    });
}
