#include "Station.h"

#include <QEventLoop>

namespace zk {

Station::Station(PortProcedure procedure, Options options, Events events)
    : procedure_(std::move(procedure)), options_(std::move(options)), events_(std::move(events))
{
}

Station::~Station() = default;

void Station::run(PortEventSource& source, const std::function<void()>& startWatching)
{
    QEventLoop loop;
    loop_ = &loop;
    source.onEvent = [this](const PortEvent& event) {
        guard([&] { event.kind == PortEvent::Kind::Added ? added(event.devNode) : removed(event.devNode); });
    };
    if (startWatching)
        startWatching();
    if (!stop_)
        loop.exec();
    loop_ = nullptr;
    source.onEvent = nullptr;
    for (auto& [path, port] : ports_)
        port.settle.reset();
    threads_.waitForAll();
}

void Station::stop()
{
    stop_ = true;
    if (loop_)
        loop_->quit();
}

void Station::finish()
{
    finishing_ = true;
    for (auto& [path, port] : ports_)
        if (port.state == State::Settling)
            port.settle.reset(); // not taken any more
    if (loop_ && !anyBusy())
        loop_->quit();
}

bool Station::anyBusy() const
{
    for (const auto& [path, port] : ports_)
        if (port.state == State::Busy)
            return true;
    return false;
}

// An event handler must not throw into the event loop.
void Station::guard(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        if (events_.failed)
            events_.failed(e.what());
    }
}

void Station::added(const std::string& path)
{
    if (stop_ || finishing_)
        return;
    if (events_.plugged)
        events_.plugged(path);
    const auto known = ports_.find(path);
    if (known != ports_.end()) {
        // Unplugged and plugged in again while its transfer still ran:
        // that one fails or ends, then this radio has its turn.
        if (!known->second.present)
            known->second.present = known->second.again = true;
        return;
    }
    settleThenProgram(path, ports_[path]);
}

void Station::settleThenProgram(const std::string& path, Port& port)
{
    port.state = State::Settling;
    port.settle = std::make_unique<QTimer>();
    port.settle->setSingleShot(true);
    QObject::connect(port.settle.get(), &QTimer::timeout, [this, path] { guard([&] { settled(path); }); });
    port.settle->start(options_.settleMs);
}

void Station::removed(const std::string& path)
{
    const auto it = ports_.find(path);
    if (it == ports_.end())
        return;
    if (events_.unplugged)
        events_.unplugged(path);
    if (it->second.state == State::Busy)
        it->second.present = false; // forgotten once its transfer ends
    else
        ports_.erase(it);
}

void Station::settled(const std::string& path)
{
    Port& port = ports_.at(path);
    port.settle.release()->deleteLater(); // this is its signal: not deleted under it
    if (options_.accept && !options_.accept(path)) {
        ports_.erase(path);
        return;
    }
    port.state = State::Busy;
    port.again = false;
    auto record = std::make_shared<StationResult>();
    record->port = path;
    if (options_.identify)
        record->adapter = options_.identify(path);
    PortContext context = options_.contextFor ? options_.contextFor(path) : PortContext{};
    context.port = path;
    context.stop = &stop_;
    threads_.start([this, record, context] { record->result = runGuarded(procedure_, context); },
                   [this, record] {
                       record->finished = std::chrono::system_clock::now();
                       guard([&] { finished(*record); });
                   });
}

void Station::finished(StationResult result)
{
    const std::string path = result.port;
    results_.push_back(std::move(result));
    if (events_.finished)
        events_.finished(results_.back());
    const auto it = ports_.find(path);
    if (it != ports_.end()) {
        Port& port = it->second;
        if (!port.present)
            ports_.erase(it);
        else if (port.again && !stop_ && !finishing_)
            settleThenProgram(path, port);
        else
            port.state = State::Done;
    }
    if (finishing_ && loop_ && !anyBusy())
        loop_->quit();
}

} // namespace zk
