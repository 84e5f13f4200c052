#include "RadioLink.h"

#include "HexText.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace zk {

RadioLink::RadioLink(SendFunction send, ReadyFunction portReady, WaitFunction wait)
    : send_(std::move(send)), portReady_(std::move(portReady)), wait_(std::move(wait))
{
}

void RadioLink::Comm1ReceiveData(const void* buffer, std::uint16_t length)
{
    appendHexText(reply_, static_cast<const std::uint8_t*>(buffer), length);
}

void RadioLink::sendHexText(std::string_view hex)
{
    const std::vector<std::uint8_t> bytes = fromHexText(hex);
    if (bytes.size() > 0xFFFF)
        throw std::length_error("command too long");
    send_(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
}

void RadioLink::handshake()
{
    sendHexText(kHandshakeText);
    wait(kHandshakeWaitMs);
    clearReplyText();
}

bool RadioLink::blockExchange(std::string_view command, std::size_t expectedLength)
{
    if (aborted_)
        return false;
    clearReplyText();
    sendHexText(command);
    // A command that went out is awaited to its end even after a stop: the
    // radio may have taken it, and its answer tells whether it did.
    for (int step = 0; step < kMaxSteps; ++step) {
        wait(kStepMs);
        if (reply_.size() == expectedLength)
            return true;
    }
    if (onTimeout)
        onTimeout(expectedLength / 2, reply_.size() / 2);
    return false;
}

void RadioLink::sendEndByte()
{
    const std::uint8_t end = 0x45;
    send_(&end, 1);
}

} // namespace zk
