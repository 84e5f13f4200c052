// How the line properties become a device-control record, and how that
// record becomes termios settings. Pure functions, no device needed.
#pragma once

#include "CommTypes.h"

#include <cstdint>
#include <termios.h>

// The line properties of the component, with the component's defaults.
struct TLineProperties {
    uint32_t BaudRate = 9600;
    bool ParityCheck = false;
    bool Outx_CtsFlow = false;
    bool Outx_DsrFlow = false;
    TDtrControl DtrControl = TDtrControl::DtrEnable;
    bool DsrSensitivity = false;
    bool TxContinueOnXoff = true;
    bool Outx_XonXoffFlow = true;
    bool Inx_XonXoffFlow = true;
    bool ReplaceWhenParityError = false;
    bool IgnoreNullChar = false;
    TRtsControl RtsControl = TRtsControl::RtsEnable;
    uint16_t XonLimit = 500;
    uint16_t XoffLimit = 500;
    TByteSize ByteSize = TByteSize::_8;
    TParity Parity = TParity::None;
    TStopBits StopBits = TStopBits::_1;
    char XonChar = 17;
    char XoffChar = 19;
    char ReplacedChar = 0;
};

uint8_t dtrControlValue(TDtrControl value);
uint8_t rtsControlValue(TRtsControl value);

// The record as the line settings are applied: the flag word is rebuilt
// from scratch (binary mode on, abort-on-error off); EofChar, EvtChar,
// the length and the reserved fields keep the values of current.
TDcb buildDcb(const TDcb& current, const TLineProperties& props);

// What the port's current termios amounts to as a record (the "current
// record" that buildDcb starts from).
TDcb dcbFromTermios(const termios& tio);

// termios settings for a record. customBaud is 0 when the rate has a
// standard speed code (set in tio); otherwise it holds the rate, which the
// platform must set through the arbitrary-rate interface.
struct TermiosSettings {
    termios tio;
    uint32_t customBaud;
};
TermiosSettings dcbToTermios(const TDcb& dcb, const termios& current);

// Standard speed code for a rate, or 0 (B0) when there is none.
speed_t standardSpeed(uint32_t rate);
// Rate for a standard speed code, or 0.
uint32_t rateOfSpeed(speed_t code);

// Levels of the DTR and RTS outputs after applying dcb: true = raised.
struct ModemOutputs {
    bool dtr;
    bool rts;
};
ModemOutputs modemOutputs(const TDcb& dcb);
