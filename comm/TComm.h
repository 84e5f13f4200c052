// TComm: owns one serial port. Opens the device named by CommName with the
// line settings held in its properties, runs a reader and a writer thread
// while open, and raises its five events on the thread that created it
// (the main thread), in the order the workers posted them.
//
// All members are for the main thread only. Open/closed state is the port
// descriptor alone; a worker that meets an error posts a hang-up and ends,
// the component stays open until ClosePort.
#pragma once

#include "CommTypes.h"
#include "ECommsError.h"
#include "LineSettings.h"
#include "PortOptions.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <termios.h>

class CommTap;
class SerialPlatform;
class CommNotifyWindow;
struct CommMessage;
class TReadThread;
class TWriteThread;

class TComm : public QObject {
    Q_OBJECT

public:
    explicit TComm(QObject* owner = nullptr);
    explicit TComm(SerialPlatform& platform, QObject* owner = nullptr);
    ~TComm() override;

    // Raises ECommsError; on failure the component is left closed, except
    // that an already open port stays open.
    void OpenPort();
    // Stops the reader, then the writer, then closes; nothing when closed.
    // Bytes not yet on the line are dropped, as with a purge.
    void ClosePort();
    // Waits until the driver has sent what the writer handed it; nothing
    // when closed. Lets a caller close right after its last byte.
    void DrainOutput();
    // Queues a copy of Length bytes for the writer. True means queued, not
    // sent; false when closed, Length is 0 or the writer has ended.
    bool SendData(const void* Buffer, uint16_t Length);

    bool IsOpen() const { return m_portHandle >= 0; }
    // True when the open port's line has hung up (its device went away or
    // the far end closed), as opposed to a hang-up notice left over from an
    // earlier opening. False when closed.
    bool LineHungUp() const;
    // The port descriptor, -1 when closed.
    int PortHandle() const { return m_portHandle; }
    // Notifications posted by the workers and not yet raised as events.
    size_t PendingNotifications() const;

    // Sees the opening, closing, every byte and each hang-up; none when null.
    // Not owned; it must outlive the component or be taken away first.
    void SetTap(CommTap* tap) { m_tap = tap; }
    CommTap* Tap() const { return m_tap; }

    // Events; an unassigned one is skipped. Buffer is valid during the call
    // only and is followed by a 0 byte not counted in BufferLength.
    std::function<void(TComm* Sender, const void* Buffer, uint16_t BufferLength)> OnReceiveData;
    std::function<void(TComm* Sender, uint32_t EventMask)> OnReceiveError;
    std::function<void(TComm* Sender, uint32_t ModemEvent)> OnModemStateChange;
    std::function<void(TComm* Sender)> OnRequestHangup;
    std::function<void(TComm* Sender)> OnSendDataEmpty;

    // Properties. Setters store the value; on an open port a changed line
    // setting rewrites all line settings and a changed time-out rewrites
    // all time-outs. CommName and Parity take effect at the next OpenPort.
    const std::string& CommName() const { return m_commName; }
    void SetCommName(const std::string& value) { m_commName = value; }
    uint32_t BaudRate() const { return m_line.BaudRate; }
    void SetBaudRate(uint32_t value) { setLine(m_line.BaudRate, value); }
    bool ParityCheck() const { return m_line.ParityCheck; }
    void SetParityCheck(bool value) { setLine(m_line.ParityCheck, value); }
    bool Outx_CtsFlow() const { return m_line.Outx_CtsFlow; }
    void SetOutx_CtsFlow(bool value) { setLine(m_line.Outx_CtsFlow, value); }
    bool Outx_DsrFlow() const { return m_line.Outx_DsrFlow; }
    void SetOutx_DsrFlow(bool value) { setLine(m_line.Outx_DsrFlow, value); }
    TDtrControl DtrControl() const { return m_line.DtrControl; }
    void SetDtrControl(TDtrControl value) { setLine(m_line.DtrControl, value); }
    bool DsrSensitivity() const { return m_line.DsrSensitivity; }
    void SetDsrSensitivity(bool value) { setLine(m_line.DsrSensitivity, value); }
    bool TxContinueOnXoff() const { return m_line.TxContinueOnXoff; }
    void SetTxContinueOnXoff(bool value) { setLine(m_line.TxContinueOnXoff, value); }
    bool Outx_XonXoffFlow() const { return m_line.Outx_XonXoffFlow; }
    void SetOutx_XonXoffFlow(bool value) { setLine(m_line.Outx_XonXoffFlow, value); }
    bool Inx_XonXoffFlow() const { return m_line.Inx_XonXoffFlow; }
    void SetInx_XonXoffFlow(bool value) { setLine(m_line.Inx_XonXoffFlow, value); }
    bool ReplaceWhenParityError() const { return m_line.ReplaceWhenParityError; }
    void SetReplaceWhenParityError(bool value) { setLine(m_line.ReplaceWhenParityError, value); }
    bool IgnoreNullChar() const { return m_line.IgnoreNullChar; }
    void SetIgnoreNullChar(bool value) { setLine(m_line.IgnoreNullChar, value); }
    TRtsControl RtsControl() const { return m_line.RtsControl; }
    void SetRtsControl(TRtsControl value) { setLine(m_line.RtsControl, value); }
    uint16_t XonLimit() const { return m_line.XonLimit; }
    void SetXonLimit(uint16_t value) { setLine(m_line.XonLimit, value); }
    uint16_t XoffLimit() const { return m_line.XoffLimit; }
    void SetXoffLimit(uint16_t value) { setLine(m_line.XoffLimit, value); }
    TByteSize ByteSize() const { return m_line.ByteSize; }
    void SetByteSize(TByteSize value) { setLine(m_line.ByteSize, value); }
    TParity Parity() const { return m_line.Parity; }
    void SetParity(TParity value) { m_line.Parity = value; }
    TStopBits StopBits() const { return m_line.StopBits; }
    void SetStopBits(TStopBits value) { setLine(m_line.StopBits, value); }
    char XonChar() const { return m_line.XonChar; }
    void SetXonChar(char value) { setLine(m_line.XonChar, value); }
    char XoffChar() const { return m_line.XoffChar; }
    void SetXoffChar(char value) { setLine(m_line.XoffChar, value); }
    char ReplacedChar() const { return m_line.ReplacedChar; }
    void SetReplacedChar(char value) { setLine(m_line.ReplacedChar, value); }
    uint32_t ReadIntervalTimeout() const { return m_timeouts.ReadIntervalTimeout; }
    void SetReadIntervalTimeout(uint32_t value) { setTimeout(m_timeouts.ReadIntervalTimeout, value); }
    uint32_t ReadTotalTimeoutMultiplier() const { return m_timeouts.ReadTotalTimeoutMultiplier; }
    void SetReadTotalTimeoutMultiplier(uint32_t value) { setTimeout(m_timeouts.ReadTotalTimeoutMultiplier, value); }
    uint32_t ReadTotalTimeoutConstant() const { return m_timeouts.ReadTotalTimeoutConstant; }
    void SetReadTotalTimeoutConstant(uint32_t value) { setTimeout(m_timeouts.ReadTotalTimeoutConstant, value); }
    uint32_t WriteTotalTimeoutMultiplier() const { return m_timeouts.WriteTotalTimeoutMultiplier; }
    void SetWriteTotalTimeoutMultiplier(uint32_t value) { setTimeout(m_timeouts.WriteTotalTimeoutMultiplier, value); }
    uint32_t WriteTotalTimeoutConstant() const { return m_timeouts.WriteTotalTimeoutConstant; }
    void SetWriteTotalTimeoutConstant(uint32_t value) { setTimeout(m_timeouts.WriteTotalTimeoutConstant, value); }

private:
    template <class T>
    void setLine(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        if (IsOpen())
            ApplyLineSettings();
    }
    void setTimeout(uint32_t& field, uint32_t value)
    {
        if (field == value)
            return;
        field = value;
        if (IsOpen())
            ApplyTimeouts();
    }

    void openSteps();
    void ApplyLineSettings();
    void ApplyTimeouts();
    void StopReadThread();
    void StopWriteThread();
    void closeHandle();
    void windowProcedure(const CommMessage& message);

    SerialPlatform& m_platform;
    std::string m_commName = "COM2";
    TLineProperties m_line;
    TCommTimeouts m_timeouts{100, 0, 0, 0, 0};

    std::unique_ptr<TReadThread> m_readThread;
    std::unique_ptr<TWriteThread> m_writeThread;
    int m_portHandle = -1;
    int m_closeEvent = -1;
    std::unique_ptr<CommNotifyWindow> m_notifyWindow;

    CommTap* m_tap = nullptr;
    PortOptions m_portOptions;
    termios m_savedTermios{};
    bool m_haveSavedTermios = false;
};
