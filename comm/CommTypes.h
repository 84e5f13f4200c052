// Value types shared by the serial port component and its two workers:
// the property enumerations, the device-control and time-out records the
// properties are written into, and the numbers of the notifications.
#pragma once

#include <cstdint>

// Ordinals are what the component stores; the platform value is given by
// name in LineSettings.cpp, never by ordinal (Enable comes first here).
enum class TParity : uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : uint8_t { _1, _1_5, _2 };
enum class TByteSize : uint8_t { _5, _6, _7, _8 };
enum class TDtrControl : uint8_t { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl : uint8_t { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };

// Platform numbers written into the device-control record.
inline constexpr uint8_t NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4;
inline constexpr uint8_t ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2;
inline constexpr uint8_t DTR_CONTROL_DISABLE = 0, DTR_CONTROL_ENABLE = 1, DTR_CONTROL_HANDSHAKE = 2;
inline constexpr uint8_t RTS_CONTROL_DISABLE = 0, RTS_CONTROL_ENABLE = 1, RTS_CONTROL_HANDSHAKE = 2,
                         RTS_CONTROL_TOGGLE = 3;

// The device-control record: what the line settings amount to before they
// are turned into termios. Flags are kept as separate fields rather than a
// packed bit word so they can be compared and printed in tests.
struct TDcb {
    uint32_t DCBlength = sizeof(TDcb);
    uint32_t BaudRate = 0;
    uint8_t fBinary = 0;
    uint8_t fParity = 0;
    uint8_t fOutxCtsFlow = 0;
    uint8_t fOutxDsrFlow = 0;
    uint8_t fDtrControl = 0;
    uint8_t fDsrSensitivity = 0;
    uint8_t fTXContinueOnXoff = 0;
    uint8_t fOutX = 0;
    uint8_t fInX = 0;
    uint8_t fErrorChar = 0;
    uint8_t fNull = 0;
    uint8_t fRtsControl = 0;
    uint8_t fAbortOnError = 0;
    uint16_t wReserved = 0;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 0;
    uint8_t Parity = 0;
    uint8_t StopBits = 0;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    uint16_t wReserved1 = 0;

    bool operator==(const TDcb&) const = default;
};

// Read and write time-outs in milliseconds, with the usual meaning:
// interval = longest pause between two bytes of one read, totals =
// multiplier x bytes requested + constant, 0 = not used.
struct TCommTimeouts {
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;

    bool operator==(const TCommTimeouts&) const = default;
};
inline constexpr uint32_t MAXDWORD = 0xFFFFFFFFu;

// Line error bits passed as EventMask of OnReceiveError.
inline constexpr uint32_t CE_RXOVER = 0x0001;   // receive buffer overflow
inline constexpr uint32_t CE_OVERRUN = 0x0002;  // hardware overrun
inline constexpr uint32_t CE_RXPARITY = 0x0004;
inline constexpr uint32_t CE_FRAME = 0x0008;
inline constexpr uint32_t CE_BREAK = 0x0010;

// Bits passed as ModemEvent of OnModemStateChange.
inline constexpr uint32_t MODEM_EVENT_RING = 4;
inline constexpr uint32_t MODEM_EVENT_RLSD = 8;

// Notifications from the workers to the component, and the one message
// from the component to the writer.
inline constexpr int WM_USER = 1024;
inline constexpr int COMM_MSG_RECEIVE_DATA = WM_USER + 1;
inline constexpr int COMM_MSG_RECEIVE_ERROR = WM_USER + 2;
inline constexpr int COMM_MSG_REQUEST_HANGUP = WM_USER + 3;
inline constexpr int COMM_MSG_MODEM_STATE_CHANGE = WM_USER + 4;
inline constexpr int COMM_MSG_SEND_DATA_EMPTY = WM_USER + 5;
inline constexpr int COMM_MSG_WRITE_DATA = WM_USER + 1;

// Purge flags.
inline constexpr unsigned PURGE_TXABORT = 0x1;
inline constexpr unsigned PURGE_RXABORT = 0x2;
inline constexpr unsigned PURGE_TXCLEAR = 0x4;
inline constexpr unsigned PURGE_RXCLEAR = 0x8;

// Largest block the reader hands over in one OnReceiveData.
inline constexpr uint16_t kReceiveBufferSize = 2048;
