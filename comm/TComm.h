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

    bool IsOpen() const { return portHandle_ >= 0; }
    // True when the open port's line has hung up (its device went away or
    // the far end closed), as opposed to a hang-up notice left over from an
    // earlier opening. False when closed.
    bool LineHungUp() const;
    // The port descriptor, -1 when closed.
    int PortHandle() const { return portHandle_; }
    // Notifications posted by the workers and not yet raised as events.
    size_t PendingNotifications() const;

    // Sees the opening, closing, every byte and each hang-up; none when null.
    // Not owned; it must outlive the component or be taken away first.
    void SetTap(CommTap* tap) { tap_ = tap; }
    CommTap* Tap() const { return tap_; }

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
    const std::string& CommName() const { return commName_; }
    void SetCommName(const std::string& value) { commName_ = value; }
    uint32_t BaudRate() const { return line_.BaudRate; }
    void SetBaudRate(uint32_t value) { setLine(line_.BaudRate, value); }
    bool ParityCheck() const { return line_.ParityCheck; }
    void SetParityCheck(bool value) { setLine(line_.ParityCheck, value); }
    bool Outx_CtsFlow() const { return line_.Outx_CtsFlow; }
    void SetOutx_CtsFlow(bool value) { setLine(line_.Outx_CtsFlow, value); }
    bool Outx_DsrFlow() const { return line_.Outx_DsrFlow; }
    void SetOutx_DsrFlow(bool value) { setLine(line_.Outx_DsrFlow, value); }
    TDtrControl DtrControl() const { return line_.DtrControl; }
    void SetDtrControl(TDtrControl value) { setLine(line_.DtrControl, value); }
    bool DsrSensitivity() const { return line_.DsrSensitivity; }
    void SetDsrSensitivity(bool value) { setLine(line_.DsrSensitivity, value); }
    bool TxContinueOnXoff() const { return line_.TxContinueOnXoff; }
    void SetTxContinueOnXoff(bool value) { setLine(line_.TxContinueOnXoff, value); }
    bool Outx_XonXoffFlow() const { return line_.Outx_XonXoffFlow; }
    void SetOutx_XonXoffFlow(bool value) { setLine(line_.Outx_XonXoffFlow, value); }
    bool Inx_XonXoffFlow() const { return line_.Inx_XonXoffFlow; }
    void SetInx_XonXoffFlow(bool value) { setLine(line_.Inx_XonXoffFlow, value); }
    bool ReplaceWhenParityError() const { return line_.ReplaceWhenParityError; }
    void SetReplaceWhenParityError(bool value) { setLine(line_.ReplaceWhenParityError, value); }
    bool IgnoreNullChar() const { return line_.IgnoreNullChar; }
    void SetIgnoreNullChar(bool value) { setLine(line_.IgnoreNullChar, value); }
    TRtsControl RtsControl() const { return line_.RtsControl; }
    void SetRtsControl(TRtsControl value) { setLine(line_.RtsControl, value); }
    uint16_t XonLimit() const { return line_.XonLimit; }
    void SetXonLimit(uint16_t value) { setLine(line_.XonLimit, value); }
    uint16_t XoffLimit() const { return line_.XoffLimit; }
    void SetXoffLimit(uint16_t value) { setLine(line_.XoffLimit, value); }
    TByteSize ByteSize() const { return line_.ByteSize; }
    void SetByteSize(TByteSize value) { setLine(line_.ByteSize, value); }
    TParity Parity() const { return line_.Parity; }
    void SetParity(TParity value) { line_.Parity = value; }
    TStopBits StopBits() const { return line_.StopBits; }
    void SetStopBits(TStopBits value) { setLine(line_.StopBits, value); }
    char XonChar() const { return line_.XonChar; }
    void SetXonChar(char value) { setLine(line_.XonChar, value); }
    char XoffChar() const { return line_.XoffChar; }
    void SetXoffChar(char value) { setLine(line_.XoffChar, value); }
    char ReplacedChar() const { return line_.ReplacedChar; }
    void SetReplacedChar(char value) { setLine(line_.ReplacedChar, value); }
    uint32_t ReadIntervalTimeout() const { return timeouts_.ReadIntervalTimeout; }
    void SetReadIntervalTimeout(uint32_t value) { setTimeout(timeouts_.ReadIntervalTimeout, value); }
    uint32_t ReadTotalTimeoutMultiplier() const { return timeouts_.ReadTotalTimeoutMultiplier; }
    void SetReadTotalTimeoutMultiplier(uint32_t value) { setTimeout(timeouts_.ReadTotalTimeoutMultiplier, value); }
    uint32_t ReadTotalTimeoutConstant() const { return timeouts_.ReadTotalTimeoutConstant; }
    void SetReadTotalTimeoutConstant(uint32_t value) { setTimeout(timeouts_.ReadTotalTimeoutConstant, value); }
    uint32_t WriteTotalTimeoutMultiplier() const { return timeouts_.WriteTotalTimeoutMultiplier; }
    void SetWriteTotalTimeoutMultiplier(uint32_t value) { setTimeout(timeouts_.WriteTotalTimeoutMultiplier, value); }
    uint32_t WriteTotalTimeoutConstant() const { return timeouts_.WriteTotalTimeoutConstant; }
    void SetWriteTotalTimeoutConstant(uint32_t value) { setTimeout(timeouts_.WriteTotalTimeoutConstant, value); }

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

    SerialPlatform& platform_;
    std::string commName_ = "COM2";
    TLineProperties line_;
    TCommTimeouts timeouts_{100, 0, 0, 0, 0};

    std::unique_ptr<TReadThread> readThread_;
    std::unique_ptr<TWriteThread> writeThread_;
    int portHandle_ = -1;
    int closeEvent_ = -1;
    std::unique_ptr<CommNotifyWindow> notifyWindow_;

    CommTap* tap_ = nullptr;
    PortOptions portOptions_;
    termios savedTermios_{};
    bool haveSavedTermios_ = false;
};
