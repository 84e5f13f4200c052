// The pure rules: properties to device-control record, record to termios,
// read time-outs and line-event bits.
#include "CommTypes.h"
#include "LineEvents.h"
#include "LineSettings.h"
#include "ReadTimeouts.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace std::chrono;

TEST(BuildDcb, DefaultsGiveTheRecordOfAFreshComponent)
{
    TDcb current;
    current.EofChar = 26;
    current.EvtChar = 7;
    current.wReserved = 3;
    current.wReserved1 = 9;
    current.fAbortOnError = 1;
    current.fDsrSensitivity = 1;
    const TDcb dcb = buildDcb(current, TLineProperties{});

    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.fBinary, 1);
    EXPECT_EQ(dcb.fParity, 0);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0);
    EXPECT_EQ(dcb.fOutxDsrFlow, 0);
    EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_ENABLE);
    EXPECT_EQ(dcb.fDsrSensitivity, 0);
    EXPECT_EQ(dcb.fTXContinueOnXoff, 1);
    EXPECT_EQ(dcb.fOutX, 1);
    EXPECT_EQ(dcb.fInX, 1);
    EXPECT_EQ(dcb.fErrorChar, 0);
    EXPECT_EQ(dcb.fNull, 0);
    EXPECT_EQ(dcb.fRtsControl, RTS_CONTROL_ENABLE);
    EXPECT_EQ(dcb.fAbortOnError, 0);
    EXPECT_EQ(dcb.XonLim, 500);
    EXPECT_EQ(dcb.XoffLim, 500);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.XonChar, 17);
    EXPECT_EQ(dcb.XoffChar, 19);
    EXPECT_EQ(dcb.ErrorChar, 0);
    // Kept from the record read from the port.
    EXPECT_EQ(dcb.EofChar, 26);
    EXPECT_EQ(dcb.EvtChar, 7);
    EXPECT_EQ(dcb.wReserved, 3);
    EXPECT_EQ(dcb.wReserved1, 9);
    EXPECT_EQ(dcb.DCBlength, sizeof(TDcb));
}

TEST(BuildDcb, EveryPropertyReachesItsOwnField)
{
    TLineProperties p;
    p.BaudRate = 123456;
    p.ParityCheck = true;
    p.Outx_CtsFlow = true;
    p.Outx_DsrFlow = true;
    p.DtrControl = TDtrControl::DtrHandshake;
    p.DsrSensitivity = true;
    p.TxContinueOnXoff = false;
    p.Outx_XonXoffFlow = false;
    p.Inx_XonXoffFlow = false;
    p.ReplaceWhenParityError = true;
    p.IgnoreNullChar = true;
    p.RtsControl = TRtsControl::RtsTransmissionAvailable;
    p.XonLimit = 11;
    p.XoffLimit = 22;
    p.ByteSize = TByteSize::_5;
    p.Parity = TParity::Space;
    p.StopBits = TStopBits::_1_5;
    p.XonChar = 'a';
    p.XoffChar = 'b';
    p.ReplacedChar = '?';
    const TDcb dcb = buildDcb(TDcb{}, p);
    EXPECT_EQ(dcb.BaudRate, 123456u);
    EXPECT_EQ(dcb.fParity, 1);
    EXPECT_EQ(dcb.fOutxCtsFlow, 1);
    EXPECT_EQ(dcb.fOutxDsrFlow, 1);
    EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_HANDSHAKE);
    EXPECT_EQ(dcb.fDsrSensitivity, 1);
    EXPECT_EQ(dcb.fTXContinueOnXoff, 0);
    EXPECT_EQ(dcb.fOutX, 0);
    EXPECT_EQ(dcb.fInX, 0);
    EXPECT_EQ(dcb.fErrorChar, 1);
    EXPECT_EQ(dcb.fNull, 1);
    EXPECT_EQ(dcb.fRtsControl, RTS_CONTROL_TOGGLE);
    EXPECT_EQ(dcb.XonLim, 11);
    EXPECT_EQ(dcb.XoffLim, 22);
    EXPECT_EQ(dcb.ByteSize, 5);
    EXPECT_EQ(dcb.Parity, SPACEPARITY);
    EXPECT_EQ(dcb.StopBits, ONE5STOPBITS);
    EXPECT_EQ(dcb.XonChar, 'a');
    EXPECT_EQ(dcb.XoffChar, 'b');
    EXPECT_EQ(dcb.ErrorChar, '?');
}

TEST(BuildDcb, ControlModesMapByNameNotByOrdinal)
{
    EXPECT_EQ(dtrControlValue(TDtrControl::DtrEnable), 1);
    EXPECT_EQ(dtrControlValue(TDtrControl::DtrDisable), 0);
    EXPECT_EQ(dtrControlValue(TDtrControl::DtrHandshake), 2);
    EXPECT_EQ(rtsControlValue(TRtsControl::RtsEnable), 1);
    EXPECT_EQ(rtsControlValue(TRtsControl::RtsDisable), 0);
    EXPECT_EQ(rtsControlValue(TRtsControl::RtsHandshake), 2);
    EXPECT_EQ(rtsControlValue(TRtsControl::RtsTransmissionAvailable), 3);
    TLineProperties p;
    const TByteSize sizes[] = {TByteSize::_5, TByteSize::_6, TByteSize::_7, TByteSize::_8};
    for (int i = 0; i < 4; ++i) {
        p.ByteSize = sizes[i];
        EXPECT_EQ(buildDcb(TDcb{}, p).ByteSize, i + 5);
    }
    const TParity parities[] = {TParity::None, TParity::Odd, TParity::Even, TParity::Mark, TParity::Space};
    for (int i = 0; i < 5; ++i) {
        p.Parity = parities[i];
        EXPECT_EQ(buildDcb(TDcb{}, p).Parity, i);
    }
}

namespace {
TermiosSettings termiosFor(const TLineProperties& p)
{
    termios start{};
    start.c_lflag = ICANON | ECHO | ISIG;
    start.c_oflag = OPOST;
    start.c_iflag = ICRNL | IGNBRK;
    return dcbToTermios(buildDcb(TDcb{}, p), start);
}
}  // namespace

TEST(DcbToTermios, DefaultsAreRaw9600EightNoneOneWithXonXoff)
{
    const termios t = termiosFor(TLineProperties{}).tio;
    EXPECT_EQ(cfgetospeed(&t), B9600);
    EXPECT_EQ(cfgetispeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_FALSE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS));
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_TRUE(t.c_cflag & CREAD);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_FALSE(t.c_iflag & (ICRNL | INPCK));
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_TRUE(t.c_iflag & IXOFF);
    EXPECT_EQ(t.c_cc[VSTART], 17);
    EXPECT_EQ(t.c_cc[VSTOP], 19);
    EXPECT_EQ(termiosFor(TLineProperties{}).customBaud, 0u);
}

TEST(DcbToTermios, ParityStopBitsSizesAndFlowControl)
{
    TLineProperties p;
    p.Parity = TParity::Odd;
    EXPECT_EQ(termiosFor(p).tio.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB | PARODD));
    p.Parity = TParity::Even;
    EXPECT_EQ(termiosFor(p).tio.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB));
    p.Parity = TParity::Mark;
    EXPECT_EQ(termiosFor(p).tio.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB | PARODD | CMSPAR));
    p.Parity = TParity::Space;
    EXPECT_EQ(termiosFor(p).tio.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB | CMSPAR));
    p.ParityCheck = true;
    EXPECT_TRUE(termiosFor(p).tio.c_iflag & INPCK);

    p.StopBits = TStopBits::_2;
    EXPECT_TRUE(termiosFor(p).tio.c_cflag & CSTOPB);
    p.StopBits = TStopBits::_1_5;
    EXPECT_TRUE(termiosFor(p).tio.c_cflag & CSTOPB);

    p.ByteSize = TByteSize::_7;
    EXPECT_EQ(termiosFor(p).tio.c_cflag & CSIZE, tcflag_t(CS7));
    p.ByteSize = TByteSize::_5;
    EXPECT_EQ(termiosFor(p).tio.c_cflag & CSIZE, tcflag_t(CS5));

    p = TLineProperties{};
    p.Outx_CtsFlow = true;
    EXPECT_TRUE(termiosFor(p).tio.c_cflag & CRTSCTS);
    p.Outx_CtsFlow = false;
    p.RtsControl = TRtsControl::RtsHandshake;
    EXPECT_TRUE(termiosFor(p).tio.c_cflag & CRTSCTS);

    p = TLineProperties{};
    p.Inx_XonXoffFlow = false;
    EXPECT_FALSE(termiosFor(p).tio.c_iflag & IXOFF);
    EXPECT_TRUE(termiosFor(p).tio.c_iflag & IXON);
    p.Outx_XonXoffFlow = false;
    p.XonChar = 1;
    p.XoffChar = 2;
    const termios t = termiosFor(p).tio;
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    EXPECT_EQ(t.c_cc[VSTART], 1);
    EXPECT_EQ(t.c_cc[VSTOP], 2);
}

TEST(DcbToTermios, AnyRateStandardOrNot)
{
    TLineProperties p;
    p.BaudRate = 115200;
    const termios t = termiosFor(p).tio;
    EXPECT_EQ(cfgetospeed(&t), B115200);
    EXPECT_EQ(termiosFor(p).customBaud, 0u);
    p.BaudRate = 250000;
    EXPECT_EQ(termiosFor(p).customBaud, 250000u);
    p.BaudRate = 31250;
    EXPECT_EQ(termiosFor(p).customBaud, 31250u);
}

TEST(DcbToTermios, ModemOutputsFollowTheControlModes)
{
    TLineProperties p;
    auto outputs = [&] { return modemOutputs(buildDcb(TDcb{}, p)); };
    EXPECT_TRUE(outputs().dtr);
    EXPECT_TRUE(outputs().rts);
    p.DtrControl = TDtrControl::DtrDisable;
    p.RtsControl = TRtsControl::RtsDisable;
    EXPECT_FALSE(outputs().dtr);
    EXPECT_FALSE(outputs().rts);
}

TEST(ReadBlockTimer, IntervalOnlyEndsAtAPauseAfterTheFirstByte)
{
    using Clock = ReadBlockTimer::Clock;
    ReadBlockTimer timer;
    const auto t0 = Clock::now();
    timer.begin({100, 0, 0, 0, 0}, t0, 2048);
    EXPECT_EQ(timer.waitMs(t0, 0), -1) << "waits without limit for the first byte";
    EXPECT_FALSE(timer.complete(t0 + hours(1), 0));
    timer.onBytes(t0 + milliseconds(10));
    EXPECT_FALSE(timer.complete(t0 + milliseconds(109), 3));
    EXPECT_EQ(timer.waitMs(t0 + milliseconds(60), 3), 50);
    EXPECT_TRUE(timer.complete(t0 + milliseconds(110), 3));
    EXPECT_TRUE(timer.complete(t0, 2048)) << "a full buffer ends the read at once";
}

TEST(ReadBlockTimer, TotalsAndTheSpecialModes)
{
    using Clock = ReadBlockTimer::Clock;
    ReadBlockTimer timer;
    const auto t0 = Clock::now();

    // All zero: only a full buffer ends the read.
    timer.begin({0, 0, 0, 0, 0}, t0, 2048);
    timer.onBytes(t0);
    EXPECT_FALSE(timer.complete(t0 + hours(1), 5));
    EXPECT_EQ(timer.waitMs(t0, 5), -1);

    // Total = multiplier x requested + constant, counted from the start.
    timer.begin({0, 1, 500, 0, 0}, t0, 100);
    EXPECT_EQ(timer.waitMs(t0, 0), 600);
    EXPECT_FALSE(timer.complete(t0 + milliseconds(599), 0));
    EXPECT_TRUE(timer.complete(t0 + milliseconds(600), 0)) << "empty completion";

    // Interval and total together: whichever comes first.
    timer.begin({50, 0, 1000, 0, 0}, t0, 2048);
    timer.onBytes(t0 + milliseconds(980));
    EXPECT_EQ(timer.waitMs(t0 + milliseconds(980), 1), 20);

    // Interval MAXDWORD, totals 0: return at once with what is there.
    timer.begin({MAXDWORD, 0, 0, 0, 0}, t0, 2048);
    EXPECT_FALSE(timer.complete(t0, 0));
    EXPECT_EQ(timer.waitMs(t0, 0), -1);
    EXPECT_TRUE(timer.complete(t0, 1));

    // Interval and multiplier MAXDWORD with a constant: first byte or the constant.
    timer.begin({MAXDWORD, MAXDWORD, 300, 0, 0}, t0, 2048);
    EXPECT_EQ(timer.waitMs(t0, 0), 300);
    EXPECT_TRUE(timer.complete(t0 + milliseconds(1), 1));
    EXPECT_TRUE(timer.complete(t0 + milliseconds(300), 0));
}

TEST(LineEvents, CounterDeltasAndModemChanges)
{
    LineCounters before;
    LineCounters after = before;
    EXPECT_EQ(lineErrorBits(before, after), 0u);
    after.frame = 1;
    after.brk = 2;
    EXPECT_EQ(lineErrorBits(before, after), CE_FRAME | CE_BREAK);
    after = before;
    after.parity = 4;
    after.overrun = 1;
    after.bufOverrun = 1;
    EXPECT_EQ(lineErrorBits(before, after), CE_RXPARITY | CE_OVERRUN | CE_RXOVER);

    EXPECT_EQ(modemEventBits(0, TIOCM_CAR), MODEM_EVENT_RLSD);
    EXPECT_EQ(modemEventBits(TIOCM_CAR, 0), MODEM_EVENT_RLSD);
    EXPECT_EQ(modemEventBits(0, TIOCM_RNG), MODEM_EVENT_RING);
    EXPECT_EQ(modemEventBits(TIOCM_RNG, 0), 0u) << "a ring is reported when it comes on";
    EXPECT_EQ(modemEventBits(0, TIOCM_RNG | TIOCM_CAR), 12u);
    EXPECT_EQ(modemEventBits(TIOCM_CTS, TIOCM_DSR), 0u);
}
