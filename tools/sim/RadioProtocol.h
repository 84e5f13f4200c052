// The radio's side of the programming protocol, without any I/O: bytes in,
// replies out. A session starts with the text PROGRAM (answered with one
// acknowledgement byte), then serves read commands 'R' AH AL LEN (answered
// with the 4 command bytes and LEN bytes of memory) and write commands
// 'W' AH AL LEN + LEN bytes (answered with one acknowledgement byte), and
// ends with 'E'. A new PROGRAM starts a new session at any time between
// commands, since a transfer that failed never sends the end byte.
#pragma once

#include "RadioImage.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Misbehaviour to show on purpose. Block numbers count the read and write
// commands of a session from 0; kEveryBlock means every command.
struct RadioFaults {
    static constexpr int kOff = -1;
    static constexpr int kEveryBlock = -2;

    int silentAfter = kOff;       // answer only this many commands per session, then nothing
    int extraByteBlock = kOff;    // reply one byte too long
    int missingByteBlock = kOff;  // reply one byte too short
    int splitBlock = kOff;        // reply in two pieces ...
    int splitPauseMs = 300;       // ... with this pause between them
    int delayBlock = kOff;        // reply only after ...
    int delayMs = 1500;           // ... this long
    int doubleAckBlock = kOff;    // acknowledge a write with two bytes
    int nakBlock = kOff;          // refuse a write: answer kNak, memory unchanged
    int badDigitChannel = 0;      // 1..16: read replies show a non-decimal digit in this channel's RX field
    bool echo = false;            // every received byte goes back on the line before any answer
};

// One piece of a reply, sent after a pause.
struct ReplyChunk {
    int pauseBeforeMs = 0;
    std::vector<uint8_t> bytes;
};

class RadioProtocol {
public:
    static constexpr uint8_t kAck = 0x06;
    static constexpr uint8_t kNak = 0x15;

    // Handles one received byte. Returns the reply pieces it causes (often
    // none); `memoryWritten` is set when a write command changed memory.
    std::vector<ReplyChunk> feed(uint8_t byte, zk::RadioImage& memory, const RadioFaults& faults,
                                 bool& memoryWritten);
    // The line went quiet in the middle of a command: forget the part.
    void dropPartialCommand();
    bool inCommand() const { return state_ == State::Header || state_ == State::Data; }
    bool inSession() const { return state_ != State::Idle; }
    int sessionsEnded() const { return sessionsEnded_; }
    int commandsServed() const { return commandsServed_; }

private:
    enum class State { Idle, Session, Header, Data };

    std::vector<ReplyChunk> answer(zk::RadioImage& memory, const RadioFaults& faults, bool& memoryWritten);

    State state_ = State::Idle;
    size_t handshakeMatched_ = 0;
    std::vector<uint8_t> command_;
    size_t dataExpected_ = 0;
    int commandInSession_ = 0;
    int sessionsEnded_ = 0;
    int commandsServed_ = 0;
};
