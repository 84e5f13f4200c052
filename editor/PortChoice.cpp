#include "PortChoice.h"

#include "Guarded.h"
#include "OpenFailure.h"
#include "PathPortEvents.h"
#include "PortAccess.h"
#include "PortConnection.h"
#include "PortEvents.h"
#include "PortStatus.h"
#include "TComm.h"
#include "TransferEngine.h"

#include <QComboBox>
#include <QLabel>

namespace zk {

namespace {

QString qtext(const std::string& text)
{
    return QString::fromStdString(text);
}

SystemView viewOf(const PortSources& sources)
{
    SystemView view;
    view.sysRoot = sources.sysRoot;
    view.devRoot = sources.devRoot;
    return view;
}

} // namespace

PortChoice::PortChoice(TComm& comm, QComboBox& list, QLabel& status, RadioLink& link, TransferEngine& engine,
                       UserMessages& messages, PortSources sources)
    : comm_(comm)
    , list_(list)
    , status_(status)
    , link_(link)
    , engine_(engine)
    , messages_(messages)
    , sources_(std::move(sources))
    , cable_(viewOf(sources_))
{
    comm_.SetTap(sources_.tap);
    // Sets link_.onTimeout, which the handler below wraps: it must come first.
    noteTimeouts(comm_, link_);
    // The reader's hang-up: handled once the event has returned, as closing
    // the port waits for that very reader.
    comm_.OnRequestHangup = [this](TComm*) {
        QMetaObject::invokeMethod(
            this, [this] { guarded(messages_, [this] { unplugged(); }); }, Qt::QueuedConnection);
    };
    if (sources_.events)
        sources_.events->onEvent = [this](const PortEvent& event) {
            guarded(messages_, [&] { deviceEvent(event); });
        };
    // A reply that did not come may have gone to another reader of the port:
    // the port's tooltip and the failed transfer's notice name them.
    link_.onTimeout = [this, trace = link_.onTimeout](std::size_t expected, std::size_t got) {
        if (trace)
            trace(expected, got);
        replyMissing();
    };
    engine_.explainFailure = [this] { return holdersText(); };
}

PortChoice::~PortChoice()
{
    pathWatch_.reset();
    comm_.OnRequestHangup = nullptr;
    if (sources_.events)
        sources_.events->onEvent = nullptr;
    link_.onTimeout = nullptr;
    engine_.explainFailure = nullptr;
}

void PortChoice::setUpFirstHalf()
{
    const std::vector<std::string> ports = portChoices(sources_);
    for (const std::string& port : ports)
        list_.addItem(qtext(port));
    if (list_.count() == 0) {
        status_.setText(QString::fromLatin1(port::kNoPort));
        return;
    }
    // The first port, passing over consoles: those open only when picked.
    const int first = firstNonConsole(ports, sources_.sysRoot);
    list_.setCurrentIndex(first < 0 ? 0 : first);
    const QString name = list_.currentText();
    if (first < 0) {
        status_.setText(qtext(port::statusAfterOpen(false, name.toStdString())));
        status_.setToolTip(qtext(port::consoleNotOpened(name.toStdString())));
        return;
    }
    openAndShow(name);
}

void PortChoice::setUpSecondHalf()
{
    switchOffSoftwareFlowControl(comm_);
}

void PortChoice::choose()
{
    if (port::statusShowsOpenPort(status_.text().toStdString()))
        comm_.ClosePort();
    openAndShow(list_.currentText());
}

bool PortChoice::ready() const
{
    return status_.text() == QString::fromLatin1(port::kCaption) + list_.currentText();
}

SystemView PortChoice::view() const
{
    return viewOf(sources_);
}

void PortChoice::openAndShow(const QString& name)
{
    const std::string path = name.toStdString();
    comm_.SetCommName(path);
    bool opened = false;
    try {
        comm_.OpenPort();
        opened = true;
        status_.setToolTip(QString());
        cable_.opened(path);
        watchPath(path);
    } catch (const ECommsError& e) {
        // The status keeps its short text; the reason is one hover away.
        status_.setToolTip(qtext(describeOpenFailure(path, e.osError(), view(), AdviceFor::Desktop)));
    }
    status_.setText(qtext(port::statusAfterOpen(opened, path)));
}

void PortChoice::watchPath(const std::string& path)
{
    if (pathWatch_ && watchedPath_ == path)
        return;
    pathWatch_ = std::make_unique<PathPortEvents>(std::vector<std::string>{path});
    watchedPath_ = path;
    pathWatch_->onEvent = [this](const PortEvent& event) { guarded(messages_, [&] { pathEvent(event); }); };
    pathWatch_->start();
}

void PortChoice::unplugged()
{
    // Once only; and a notice from the port's previous opening, raised after
    // it was closed, must not close the port opened since.
    if (!comm_.LineHungUp() || !cable_.portOpen())
        return;
    const std::string name = comm_.CommName();
    comm_.ClosePort();
    cable_.unplugged();
    status_.setText(qtext(port::statusAfterOpen(false, name)));
    status_.setToolTip(qtext(port::unplugged(name)));
}

void PortChoice::deviceEvent(const PortEvent& event)
{
    refreshList();
    if (event.kind == PortEvent::Kind::Removed) {
        if (comm_.IsOpen() && CableWatch::removes(event.devNode, comm_.CommName()))
            unplugged();
        return;
    }
    bringBack(event.devNode);
}

void PortChoice::pathEvent(const PortEvent& event)
{
    // Only a return counts: the line's own hang-up tells the going. The path
    // is listed already, and the list is left alone, as this may run while
    // the list itself reports a pick.
    if (event.kind == PortEvent::Kind::Added)
        bringBack(event.devNode);
}

void PortChoice::bringBack(const std::string& devNode)
{
    if (!cable_.bringsBack(devNode))
        return;
    // The same cable is back, perhaps under another name: choose and open it.
    const QString name = qtext(devNode);
    if (list_.findText(name) < 0)
        list_.addItem(name);
    list_.setCurrentIndex(list_.findText(name));
    openAndShow(name);
}

void PortChoice::refreshList()
{
    const QString current = list_.currentText();
    list_.clear();
    for (const std::string& port : portChoices(sources_))
        list_.addItem(qtext(port));
    const int kept = list_.findText(current);
    if (kept >= 0)
        list_.setCurrentIndex(kept);
}

std::string PortChoice::holdersText() const
{
    return zk::holdersText(comm_.CommName(), portHolders(comm_.CommName(), view()));
}

void PortChoice::replyMissing()
{
    const std::string holders = holdersText();
    if (!holders.empty())
        status_.setToolTip(qtext("The radio's reply did not come in time.\n" + holders));
}

} // namespace zk
