// TForm2's Connection Check: what stands between the user and the port
// chosen in the list, in a window of its own.
#include "f2.h"

#include "ConnectionCheck.h"
#include "ConnectionCheckWindow.h"
#include "Guarded.h"
#include "PortChoice.h"

#include <QComboBox>

void TForm2::connectionCheckClick()
{
    zk::guarded(messages_, [this] {
        const zk::CheckReport report = zk::checkConnection(ComboBox1->currentText().toStdString(), portChoice_->view());
        auto* window = new zk::ConnectionCheckWindow(qtext(report.text()), this);
        window->show();
    });
}
