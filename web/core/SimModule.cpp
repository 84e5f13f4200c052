// The virtual radio's protocol in the test module: bytes in, timed reply
// pieces out, so a script port can carry the engine's bytes to it.
#include "Bindings.h"
#include "RadioImage.h"
#include "RadioProtocol.h"

#include <emscripten/bind.h>

namespace zk::web {

using emscripten::val;

namespace {

class SimRadio {
public:
    // [{pauseMs, bytes}] for the bytes received, in order.
    val feed(const std::string& bytes)
    {
        val out = val::array();
        for (const char byte : bytes) {
            bool written = false;
            for (const ReplyChunk& chunk : protocol_.feed(static_cast<std::uint8_t>(byte), memory_, faults_, written)) {
                val piece = val::object();
                piece.set("pauseMs", chunk.pauseBeforeMs);
                piece.set("bytes", bytesOut(chunk.bytes.data(), chunk.bytes.size()));
                out.call<void>("push", piece);
            }
        }
        return out;
    }
    void dropPartialCommand() { protocol_.dropPartialCommand(); }
    val memory() const { return bytesOut(memory_.data(), memory_.size()); }
    bool setMemory(const std::string& bytes)
    {
        if (bytes.size() != kImageSize)
            return false;
        std::copy(bytes.begin(), bytes.end(), memory_.begin());
        return true;
    }
    // Answers only this many commands per session; negative: all.
    void setSilentAfter(int commands) { faults_.silentAfter = commands < 0 ? RadioFaults::kOff : commands; }
    int sessionsEnded() const { return protocol_.sessionsEnded(); }
    int commandsServed() const { return protocol_.commandsServed(); }

private:
    RadioProtocol protocol_;
    RadioImage memory_ = blankImage();
    RadioFaults faults_;
};

} // namespace

} // namespace zk::web

EMSCRIPTEN_BINDINGS(zk_sim)
{
    using namespace emscripten;
    using zk::web::SimRadio;
    class_<SimRadio>("SimRadio")
        .constructor<>()
        .function("feed", &SimRadio::feed)
        .function("dropPartialCommand", &SimRadio::dropPartialCommand)
        .function("memory", &SimRadio::memory)
        .function("setMemory", &SimRadio::setMemory)
        .function("setSilentAfter", &SimRadio::setSilentAfter)
        .function("sessionsEnded", &SimRadio::sessionsEnded)
        .function("commandsServed", &SimRadio::commandsServed);
}
