#pragma once
// What the read and write procedures share on the line: the reply text
// that collects every received byte as hex text, sending commands given as
// hex text, the message-pumping wait, the handshake, the block exchange,
// the end byte and the port-ready check.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zk {

class RadioLink {
public:
    // Hands bytes to the port; the result is not relied on (a send that
    // fails simply produces no reply).
    using SendFunction = std::function<bool(const std::uint8_t* bytes, std::uint16_t length)>;
    using ReadyFunction = std::function<bool()>;
    // Lets time pass while every pending event (received bytes, clicks) is
    // handled. The real one runs a nested event loop; see EventLoopWait.h.
    using WaitFunction = std::function<void(int milliseconds)>;

    static constexpr int kHandshakeWaitMs = 500;
    static constexpr std::string_view kHandshakeText = "50524F4752414D"; // PROGRAM
    static constexpr int kStepMs = 100;
    static constexpr int kMaxSteps = 11;

    RadioLink(SendFunction send, ReadyFunction portReady, WaitFunction wait);

    // The receive handler: appends each byte as two uppercase hex digits.
    void Comm1ReceiveData(const void* buffer, std::uint16_t length);
    const std::string& replyText() const { return reply_; }
    void clearReplyText() { reply_.clear(); }

    bool portReady() const { return portReady_(); }
    // Converts the text pair by pair and sends the bytes.
    void sendHexText(std::string_view hex);
    void wait(int milliseconds) { wait_(milliseconds); }

    // "PROGRAM", 500 ms, then the reply text is cleared.
    void handshake();
    // Clears the reply text, sends the command, then looks at the reply
    // after each of at most eleven 100 ms steps; true at the first look
    // that finds exactly expectedLength hex digits.
    bool blockExchange(std::string_view command, std::size_t expectedLength);
    // The single byte 0x45; nothing is awaited.
    void sendEndByte();

    // Told when a block exchange gives up: the reply length it wanted and
    // what it had, both in bytes. For the serial trace; unset does nothing.
    std::function<void(std::size_t expectedBytes, std::size_t gotBytes)> onTimeout;

    // Ends a running transfer at its next step without sending more: used
    // when the program quits while a transfer waits. A block exchange under
    // way still waits for its reply.
    void abort() { aborted_ = true; }
    bool aborted() const { return aborted_; }
    void resetAbort() { aborted_ = false; }

private:
    SendFunction send_;
    ReadyFunction portReady_;
    WaitFunction wait_;
    std::string reply_;
    bool aborted_ = false;
};

} // namespace zk
