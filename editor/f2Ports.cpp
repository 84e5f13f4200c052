// TForm2 and the cable: the port list kept current as serial devices come
// and go, a port whose device went away treated as not open, the same
// cable reopened when it comes back, and the connection check.
#include "f2.h"

#include "ConnectionCheck.h"
#include "ConnectionCheckWindow.h"
#include "Guarded.h"
#include "PortAccess.h"
#include "PortConnection.h"
#include "PortEvents.h"
#include "PortStatus.h"

#include <QComboBox>
#include <QLabel>

#include <filesystem>

namespace {

bool sameNode(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return a == b || std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

} // namespace

void TForm2::watchPorts()
{
    // Sets link_.onTimeout, which the handler below wraps: it must come first.
    zk::noteTimeouts(Comm1, link_);
    // The reader's hang-up: handled once the event has returned, as closing
    // the port waits for that very reader.
    Comm1.OnRequestHangup = [this](TComm*) {
        QMetaObject::invokeMethod(
            this, [this] { zk::guarded(messages_, [this] { portUnplugged(); }); }, Qt::QueuedConnection);
    };
    if (portSources_.events)
        portSources_.events->onEvent = [this](const zk::PortEvent& event) {
            zk::guarded(messages_, [&] { portEvent(event); });
        };
    // A reply that did not come may have gone to another reader of the port:
    // the port's tooltip and the failed transfer's notice name them.
    link_.onTimeout = [this, trace = link_.onTimeout](std::size_t expected, std::size_t got) {
        if (trace)
            trace(expected, got);
        replyMissing();
    };
    engine_.explainFailure = [this] { return portHoldersText(); };
}

std::string TForm2::portHoldersText() const
{
    return zk::holdersText(Comm1.CommName(), zk::portHolders(Comm1.CommName(), portView()));
}

void TForm2::replyMissing()
{
    const std::string holders = portHoldersText();
    if (!holders.empty())
        portStatusPanel_->setToolTip(qtext("The radio's reply did not come in time.\n" + holders));
}

zk::SystemView TForm2::portView() const
{
    zk::SystemView view;
    view.sysRoot = portSources_.sysRoot;
    view.devRoot = portSources_.devRoot;
    return view;
}

void TForm2::portOpened(const std::string& name)
{
    openDevice_ = zk::describeDevice(name, portView());
    unpluggedDevice_.reset();
}

void TForm2::portUnplugged()
{
    // Once only; and a notice from the port's previous opening, raised after
    // it was closed, must not close the port opened since.
    if (!Comm1.LineHungUp() || !openDevice_)
        return;
    const std::string name = Comm1.CommName();
    Comm1.ClosePort();
    unpluggedDevice_ = openDevice_;
    openDevice_.reset();
    setPortStatusText(qtext(zk::port::statusAfterOpen(false, name)));
    portStatusPanel_->setToolTip(qtext(zk::port::unplugged(name)));
}

void TForm2::portEvent(const zk::PortEvent& event)
{
    refreshPortList();
    if (event.kind == zk::PortEvent::Kind::Removed) {
        if (Comm1.IsOpen() && sameNode(event.devNode, Comm1.CommName()))
            portUnplugged();
        return;
    }
    if (!unpluggedDevice_ || !zk::describeDevice(event.devNode, portView()).sameAdapter(*unpluggedDevice_))
        return;
    // The same cable is back, perhaps under another name: choose and open it.
    const QString name = qtext(event.devNode);
    if (ComboBox1->findText(name) < 0)
        ComboBox1->addItem(name);
    ComboBox1->setCurrentIndex(ComboBox1->findText(name));
    setPortStatusText(qtext(zk::port::statusAfterOpen(openPort(name), name.toStdString())));
}

void TForm2::refreshPortList()
{
    const QString current = ComboBox1->currentText();
    ComboBox1->clear();
    for (const std::string& port : zk::portChoices(portSources_))
        ComboBox1->addItem(qtext(port));
    const int kept = ComboBox1->findText(current);
    if (kept >= 0)
        ComboBox1->setCurrentIndex(kept);
}

void TForm2::connectionCheckClick()
{
    zk::guarded(messages_, [this] {
        const zk::CheckReport report = zk::checkConnection(ComboBox1->currentText().toStdString(), portView());
        auto* window = new zk::ConnectionCheckWindow(qtext(report.text()), this);
        window->show();
    });
}
