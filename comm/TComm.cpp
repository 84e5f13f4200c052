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
      m_platform(platform),
      m_notifyWindow(std::make_unique<CommNotifyWindow>([this](const CommMessage& m) { windowProcedure(m); }))
{
}

TComm::~TComm()
{
    // The workers must not outlive the component, its window and handles.
    ClosePort();
    m_notifyWindow.reset();
}

void TComm::OpenPort()
{
    try {
        openSteps();
    } catch (const ECommsError& e) {
        if (m_tap)
            m_tap->openFailed(m_commName, std::string(e.what()) +
                                              (e.osError() ? " (" + std::string(std::strerror(e.osError())) + ")" : ""));
        throw;
    }
    if (m_tap)
        m_tap->opened(m_commName);
}

void TComm::openSteps()
{
    if (IsOpen())
        throw ECommsError(CommText::AlreadyOpened, 0, m_commName);

    const int fd = m_platform.openPort(m_commName);
    if (fd < 0)
        throw ECommsError(CommText::ErrorOpening, -fd, m_commName);
    // Opened without sharing: someone else holding the lock means in use.
    if (const int rc = m_platform.lockPort(fd); rc < 0) {
        m_platform.closePort(fd);
        throw ECommsError(CommText::ErrorOpening, -rc, m_commName);
    }
    if (const int rc = m_platform.isCharDevice(fd); rc != 1) {
        m_platform.unlockPort(fd);
        m_platform.closePort(fd);
        throw ECommsError(CommText::NotCommHandle, rc < 0 ? -rc : 0, m_commName);
    }
    if (const int rc = m_platform.setupBuffers(fd, kQueueSize, kQueueSize); rc < 0) {
        m_platform.unlockPort(fd);
        m_platform.closePort(fd);
        throw ECommsError(CommText::CannotSetupBuffer, -rc, m_commName);
    }
    m_haveSavedTermios = m_platform.getAttributes(fd, m_savedTermios) == 0;
    m_platform.setExclusive(fd, true);

    m_portHandle = fd;
    m_platform.purge(fd, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    ApplyTimeouts();
    ApplyLineSettings();

    const int event = m_platform.createEvent();
    if (event < 0) {
        closeHandle();
        throw ECommsError(CommText::UnableCreateEvent, -event, m_commName);
    }
    m_closeEvent = event;

    int rc = -ENOMEM;
    m_readThread.reset(new (std::nothrow)
                           TReadThread(m_platform, m_portHandle, m_closeEvent, *m_notifyWindow, m_portOptions));
    if (m_readThread)
        rc = m_readThread->create();
    if (rc < 0) {
        m_readThread.reset();
        m_platform.closeEvent(m_closeEvent);
        m_closeEvent = -1;
        closeHandle();
        throw ECommsError(CommText::UnableCreateReadThread, -rc, m_commName);
    }

    rc = -ENOMEM;
    m_writeThread.reset(new (std::nothrow) TWriteThread(m_platform, m_portHandle, m_closeEvent, *m_notifyWindow));
    if (m_writeThread)
        rc = m_writeThread->createWithQueue();
    if (rc < 0) {
        StopReadThread();
        m_writeThread.reset();
        m_platform.closeEvent(m_closeEvent);
        m_closeEvent = -1;
        closeHandle();
        throw ECommsError(CommText::UnableCreateWriteThread, -rc, m_commName);
    }

    m_readThread->start();
    m_writeThread->start();
}

void TComm::DrainOutput()
{
    if (IsOpen())
        m_platform.drainOutput(m_portHandle);
}

void TComm::ClosePort()
{
    if (!IsOpen())
        return;
    // Receive side first, then transmit side; the event and the port go
    // only when neither worker can touch them any more.
    StopReadThread();
    StopWriteThread();
    m_platform.closeEvent(m_closeEvent);
    m_closeEvent = -1;
    closeHandle();
    if (m_tap)
        m_tap->closed();
}

bool TComm::SendData(const void* Buffer, uint16_t Length)
{
    if (!m_writeThread || Length == 0)
        return false;
    std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[size_t(Length) + 1]());
    if (!copy)
        return false;
    std::memcpy(copy.get(), Buffer, Length);
    const bool queued = m_writeThread->post(std::move(copy), Length);
    if (m_tap) {
        if (queued)
            m_tap->sent(static_cast<const uint8_t*>(Buffer), Length);
        else
            m_tap->note("not sent (" + std::to_string(Length) + " bytes): the writer has ended");
    }
    return queued;
}

bool TComm::LineHungUp() const
{
    if (!IsOpen())
        return false;
    pollfd line{m_portHandle, 0, 0};
    return m_platform.poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL));
}

size_t TComm::PendingNotifications() const
{
    return m_notifyWindow->pending();
}

void TComm::StopReadThread()
{
    if (!m_readThread)
        return;
    m_platform.setEvent(m_closeEvent);
    m_platform.purge(m_portHandle, PURGE_RXABORT | PURGE_RXCLEAR);
    m_readThread->waitFor(kStopWait);
    m_readThread.reset();
}

void TComm::StopWriteThread()
{
    if (!m_writeThread)
        return;
    m_platform.setEvent(m_closeEvent);
    m_platform.purge(m_portHandle, PURGE_TXABORT | PURGE_TXCLEAR);
    m_writeThread->waitFor(kStopWait);
    m_writeThread.reset();
}

void TComm::closeHandle()
{
    // Leave the device as we found it: settings back, exclusive use off.
    if (m_haveSavedTermios)
        m_platform.setAttributes(m_portHandle, m_savedTermios, 0);
    m_platform.setExclusive(m_portHandle, false);
    m_platform.unlockPort(m_portHandle);
    m_platform.closePort(m_portHandle);
    m_portHandle = -1;
    m_haveSavedTermios = false;
}

void TComm::ApplyLineSettings()
{
    if (!IsOpen())
        return;
    termios current{};
    if (m_platform.getAttributes(m_portHandle, current) != 0)
        current = m_savedTermios;
    const TDcb dcb = buildDcb(dcbFromTermios(current), m_line);
    const TermiosSettings settings = dcbToTermios(dcb, current);
    // Refusals are not reported: the line keeps what the driver accepted.
    m_platform.setAttributes(m_portHandle, settings.tio, settings.customBaud);
    const ModemOutputs out = modemOutputs(dcb);
    m_platform.setModemLines(m_portHandle, (out.dtr ? TIOCM_DTR : 0) | (out.rts ? TIOCM_RTS : 0),
                             (out.dtr ? 0 : TIOCM_DTR) | (out.rts ? 0 : TIOCM_RTS));
    m_portOptions.setStripNulls(dcb.fNull != 0);
}

void TComm::ApplyTimeouts()
{
    if (!IsOpen())
        return;
    m_portOptions.setTimeouts(m_timeouts);
}

void TComm::windowProcedure(const CommMessage& message)
{
    switch (message.number) {
    case COMM_MSG_RECEIVE_DATA:
        if (m_tap)
            m_tap->received(message.data.get(), message.param1);
        if (OnReceiveData)
            OnReceiveData(this, message.data.get(), static_cast<uint16_t>(message.param1));
        break;
    case COMM_MSG_RECEIVE_ERROR:
        if (OnReceiveError)
            OnReceiveError(this, message.param2);
        break;
    case COMM_MSG_REQUEST_HANGUP:
        if (m_tap)
            m_tap->hungUp();
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
