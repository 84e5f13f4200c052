#include "TComm.h"

#include "CommTap.h"
#include "NotifyWindow.h"
#include "ReadThread.h"
#include "SerialPlatform.h"
#include "WriteThread.h"

#include <sys/ioctl.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>

namespace {
constexpr size_t kQueueSize = 4096;
constexpr std::chrono::milliseconds kStopWait{10000};
}  // namespace

TComm::TComm(QObject* owner) : TComm(posixSerialPlatform(), owner) {}

TComm::TComm(SerialPlatform& platform, QObject* owner)
    : QObject(owner),
      platform_(platform),
      notifyWindow_(std::make_unique<CommNotifyWindow>([this](const CommMessage& m) { windowProcedure(m); }))
{
}

TComm::~TComm()
{
    // The workers must not outlive the component, its window and handles.
    ClosePort();
    notifyWindow_.reset();
}

void TComm::OpenPort()
{
    try {
        openSteps();
    } catch (const ECommsError& e) {
        if (tap_)
            tap_->openFailed(commName_, std::string(e.what()) +
                                              (e.osError() ? " (" + std::string(std::strerror(e.osError())) + ")" : ""));
        throw;
    }
    if (tap_)
        tap_->opened(commName_);
}

void TComm::openSteps()
{
    if (IsOpen())
        throw ECommsError(CommText::AlreadyOpened, 0, commName_);

    const int fd = platform_.openPort(commName_);
    if (fd < 0)
        throw ECommsError(CommText::ErrorOpening, -fd, commName_);
    // Opened without sharing: someone else holding the lock means in use.
    if (const int rc = platform_.lockPort(fd); rc < 0) {
        platform_.closePort(fd);
        throw ECommsError(CommText::ErrorOpening, -rc, commName_);
    }
    if (const int rc = platform_.isCharDevice(fd); rc != 1) {
        platform_.unlockPort(fd);
        platform_.closePort(fd);
        throw ECommsError(CommText::NotCommHandle, rc < 0 ? -rc : 0, commName_);
    }
    if (const int rc = platform_.setupBuffers(fd, kQueueSize, kQueueSize); rc < 0) {
        platform_.unlockPort(fd);
        platform_.closePort(fd);
        throw ECommsError(CommText::CannotSetupBuffer, -rc, commName_);
    }
    haveSavedTermios_ = platform_.getAttributes(fd, savedTermios_) == 0;
    platform_.setExclusive(fd, true);

    portHandle_ = fd;
    platform_.purge(fd, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    ApplyTimeouts();
    ApplyLineSettings();

    const int event = platform_.createEvent();
    if (event < 0) {
        closeHandle();
        throw ECommsError(CommText::UnableCreateEvent, -event, commName_);
    }
    closeEvent_ = event;

    int rc = -ENOMEM;
    readThread_.reset(new (std::nothrow)
                           TReadThread(platform_, portHandle_, closeEvent_, *notifyWindow_, portOptions_));
    if (readThread_)
        rc = readThread_->create();
    if (rc < 0) {
        readThread_.reset();
        platform_.closeEvent(closeEvent_);
        closeEvent_ = -1;
        closeHandle();
        throw ECommsError(CommText::UnableCreateReadThread, -rc, commName_);
    }

    rc = -ENOMEM;
    writeThread_.reset(new (std::nothrow) TWriteThread(platform_, portHandle_, closeEvent_, *notifyWindow_));
    if (writeThread_)
        rc = writeThread_->createWithQueue();
    if (rc < 0) {
        StopReadThread();
        writeThread_.reset();
        platform_.closeEvent(closeEvent_);
        closeEvent_ = -1;
        closeHandle();
        throw ECommsError(CommText::UnableCreateWriteThread, -rc, commName_);
    }

    readThread_->start();
    writeThread_->start();
}

void TComm::DrainOutput()
{
    if (IsOpen())
        platform_.drainOutput(portHandle_);
}

void TComm::ClosePort()
{
    if (!IsOpen())
        return;
    // Receive side first, then transmit side; the event and the port go
    // only when neither worker can touch them any more.
    StopReadThread();
    StopWriteThread();
    platform_.closeEvent(closeEvent_);
    closeEvent_ = -1;
    closeHandle();
    if (tap_)
        tap_->closed();
}

bool TComm::SendData(const void* Buffer, uint16_t Length)
{
    if (!writeThread_ || Length == 0)
        return false;
    std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[size_t(Length) + 1]());
    if (!copy)
        return false;
    std::memcpy(copy.get(), Buffer, Length);
    const bool queued = writeThread_->post(std::move(copy), Length);
    if (tap_) {
        if (queued)
            tap_->sent(static_cast<const uint8_t*>(Buffer), Length);
        else
            tap_->note("not sent (" + std::to_string(Length) + " bytes): the writer has ended");
    }
    return queued;
}

bool TComm::LineHungUp() const
{
    if (!IsOpen())
        return false;
    pollfd line{portHandle_, 0, 0};
    return platform_.poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL));
}

size_t TComm::PendingNotifications() const
{
    return notifyWindow_->pending();
}

void TComm::StopReadThread()
{
    if (!readThread_)
        return;
    platform_.setEvent(closeEvent_);
    platform_.purge(portHandle_, PURGE_RXABORT | PURGE_RXCLEAR);
    readThread_->waitFor(kStopWait);
    readThread_.reset();
}

void TComm::StopWriteThread()
{
    if (!writeThread_)
        return;
    platform_.setEvent(closeEvent_);
    platform_.purge(portHandle_, PURGE_TXABORT | PURGE_TXCLEAR);
    writeThread_->waitFor(kStopWait);
    writeThread_.reset();
}

void TComm::closeHandle()
{
    // Leave the device as we found it: settings back, exclusive use off.
    if (haveSavedTermios_)
        platform_.setAttributes(portHandle_, savedTermios_, 0);
    platform_.setExclusive(portHandle_, false);
    platform_.unlockPort(portHandle_);
    platform_.closePort(portHandle_);
    portHandle_ = -1;
    haveSavedTermios_ = false;
}

void TComm::ApplyLineSettings()
{
    if (!IsOpen())
        return;
    termios current{};
    if (platform_.getAttributes(portHandle_, current) != 0)
        current = savedTermios_;
    const TDcb dcb = buildDcb(dcbFromTermios(current), line_);
    const TermiosSettings settings = dcbToTermios(dcb, current);
    // Refusals are not reported: the line keeps what the driver accepted.
    platform_.setAttributes(portHandle_, settings.tio, settings.customBaud);
    const ModemOutputs out = modemOutputs(dcb);
    platform_.setModemLines(portHandle_, (out.dtr ? TIOCM_DTR : 0) | (out.rts ? TIOCM_RTS : 0),
                             (out.dtr ? 0 : TIOCM_DTR) | (out.rts ? 0 : TIOCM_RTS));
    portOptions_.setStripNulls(dcb.fNull != 0);
}

void TComm::ApplyTimeouts()
{
    if (!IsOpen())
        return;
    portOptions_.setTimeouts(timeouts_);
}

void TComm::windowProcedure(const CommMessage& message)
{
    switch (message.number) {
    case COMM_MSG_RECEIVE_DATA:
        if (tap_)
            tap_->received(message.data.get(), message.param1);
        if (OnReceiveData)
            OnReceiveData(this, message.data.get(), static_cast<uint16_t>(message.param1));
        break;
    case COMM_MSG_RECEIVE_ERROR:
        if (OnReceiveError)
            OnReceiveError(this, message.param2);
        break;
    case COMM_MSG_REQUEST_HANGUP:
        if (tap_)
            tap_->hungUp();
        if (OnRequestHangup)
            OnRequestHangup(this);
        break;
    case COMM_MSG_MODEM_STATE_CHANGE:
        if (OnModemStateChange)
            OnModemStateChange(this, message.param2);
        break;
    case COMM_MSG_SEND_DATA_EMPTY:
        if (OnSendDataEmpty)
            OnSendDataEmpty(this);
        break;
    default:
        break;
    }
}
