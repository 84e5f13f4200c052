#include "LineSettings.h"

#include <array>
#include <utility>

uint8_t dtrControlValue(TDtrControl value)
{
    switch (value) {
    case TDtrControl::DtrEnable: return DTR_CONTROL_ENABLE;
    case TDtrControl::DtrDisable: return DTR_CONTROL_DISABLE;
    case TDtrControl::DtrHandshake: return DTR_CONTROL_HANDSHAKE;
    }
    return DTR_CONTROL_ENABLE;
}

uint8_t rtsControlValue(TRtsControl value)
{
    switch (value) {
    case TRtsControl::RtsEnable: return RTS_CONTROL_ENABLE;
    case TRtsControl::RtsDisable: return RTS_CONTROL_DISABLE;
    case TRtsControl::RtsHandshake: return RTS_CONTROL_HANDSHAKE;
    case TRtsControl::RtsTransmissionAvailable: return RTS_CONTROL_TOGGLE;
    }
    return RTS_CONTROL_ENABLE;
}

TDcb buildDcb(const TDcb& current, const TLineProperties& p)
{
    TDcb dcb = current;
    dcb.BaudRate = p.BaudRate;

    dcb.fBinary = 1;
    dcb.fParity = p.ParityCheck;
    dcb.fOutxCtsFlow = p.Outx_CtsFlow;
    dcb.fOutxDsrFlow = p.Outx_DsrFlow;
    dcb.fDtrControl = dtrControlValue(p.DtrControl);
    dcb.fDsrSensitivity = p.DsrSensitivity;
    dcb.fTXContinueOnXoff = p.TxContinueOnXoff;
    dcb.fOutX = p.Outx_XonXoffFlow;
    dcb.fInX = p.Inx_XonXoffFlow;
    dcb.fErrorChar = p.ReplaceWhenParityError;
    dcb.fNull = p.IgnoreNullChar;
    dcb.fRtsControl = rtsControlValue(p.RtsControl);
    dcb.fAbortOnError = 0;

    dcb.XonLim = p.XonLimit;
    dcb.XoffLim = p.XoffLimit;
    dcb.ByteSize = static_cast<uint8_t>(static_cast<uint8_t>(p.ByteSize) + 5);
    dcb.Parity = static_cast<uint8_t>(p.Parity);
    dcb.StopBits = static_cast<uint8_t>(p.StopBits);
    dcb.XonChar = p.XonChar;
    dcb.XoffChar = p.XoffChar;
    dcb.ErrorChar = p.ReplacedChar;
    return dcb;
}

namespace {

constexpr std::array<std::pair<uint32_t, speed_t>, 31> kSpeeds{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
    {0, B0},
}};

uint8_t has(tcflag_t flags, tcflag_t bit)
{
    return (flags & bit) ? 1 : 0;
}

}  // namespace

speed_t standardSpeed(uint32_t rate)
{
    for (const auto& [r, code] : kSpeeds)
        if (r == rate)
            return code;
    return B0;
}

uint32_t rateOfSpeed(speed_t code)
{
    for (const auto& [r, c] : kSpeeds)
        if (c == code)
            return r;
    return 0;
}

TDcb dcbFromTermios(const termios& t)
{
    TDcb dcb;
    dcb.BaudRate = rateOfSpeed(cfgetospeed(&t));
    dcb.fBinary = 1;
    dcb.fParity = has(t.c_iflag, INPCK);
    dcb.fOutxCtsFlow = has(t.c_cflag, CRTSCTS);
    dcb.fRtsControl = static_cast<uint8_t>((t.c_cflag & CRTSCTS) ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE);
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fOutX = has(t.c_iflag, IXON);
    dcb.fInX = has(t.c_iflag, IXOFF);
    dcb.fTXContinueOnXoff = 1;
    switch (t.c_cflag & CSIZE) {
    case CS5: dcb.ByteSize = 5; break;
    case CS6: dcb.ByteSize = 6; break;
    case CS7: dcb.ByteSize = 7; break;
    default: dcb.ByteSize = 8; break;
    }
    if (!(t.c_cflag & PARENB))
        dcb.Parity = NOPARITY;
    else if (t.c_cflag & CMSPAR)
        dcb.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
    else
        dcb.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
    dcb.StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
    dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
    dcb.EofChar = static_cast<char>(t.c_cc[VEOF]);
    return dcb;
}

TermiosSettings dcbToTermios(const TDcb& dcb, const termios& current)
{
    termios t = current;
    // Raw, binary line: no echo, no line editing, no signals, no output
    // processing; the modem control lines do not gate reading (CLOCAL).
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;

    uint32_t customBaud = 0;
    speed_t code = standardSpeed(dcb.BaudRate);
    if (code == B0 && dcb.BaudRate != 0) {
        // Not a standard rate: keep the nearest code here so the record is
        // valid on its own; the platform sets the exact rate afterwards.
        code = B38400;
        customBaud = dcb.BaudRate;
    }
    cfsetispeed(&t, code);
    cfsetospeed(&t, code);

    t.c_cflag &= ~tcflag_t(CSIZE);
    switch (dcb.ByteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    default: t.c_cflag |= CS8; break;
    }

    t.c_cflag &= ~tcflag_t(PARENB | PARODD | CMSPAR);
    switch (dcb.Parity) {
    case ODDPARITY: t.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: t.c_cflag |= PARENB; break;
    case MARKPARITY: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    // Parity checking on receive is its own switch; without it a byte with a
    // wrong parity bit is passed on as it came.
    t.c_iflag &= ~tcflag_t(INPCK | IGNPAR | PARMRK);
    if (dcb.fParity)
        t.c_iflag |= INPCK;

    // A UART sends 1.5 stop bits when asked for two with five data bits;
    // that is the only way to get 1.5 on Linux.
    t.c_cflag &= ~tcflag_t(CSTOPB);
    if (dcb.StopBits == ONE5STOPBITS || dcb.StopBits == TWOSTOPBITS)
        t.c_cflag |= CSTOPB;

    // Linux has one switch for hardware flow control in both directions.
    t.c_cflag &= ~tcflag_t(CRTSCTS);
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE)
        t.c_cflag |= CRTSCTS;

    t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    if (dcb.fOutX)
        t.c_iflag |= IXON;
    if (dcb.fInX)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);

    // No termios equivalent, left to the driver's fixed behaviour: DSR
    // output flow and DSR sensitivity, DTR handshake, RTS toggle, the XON/
    // XOFF thresholds (the kernel uses its own), continue-on-XOFF, and
    // replacing bytes with parity errors. Null stripping is done by the
    // reader. None of them makes the open fail.
    return {t, customBaud};
}

ModemOutputs modemOutputs(const TDcb& dcb)
{
    // Handshake modes start with the line raised; the kernel then drives
    // RTS itself under CRTSCTS. Toggle mode has no driver support here.
    return {dcb.fDtrControl != DTR_CONTROL_DISABLE, dcb.fRtsControl != RTS_CONTROL_DISABLE};
}
