#include "JsPort.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <vector>

// clang-format off
EM_JS(void, zk_port_write, (const std::uint8_t* bytes, int length), {
    Module.zkPort.write(HEAPU8.slice(bytes, bytes + length));
});

EM_JS(int, zk_port_ready, (), {
    return Module.zkPort && Module.zkPort.ready() ? 1 : 0;
});

// Keeps what arrived during the wait on the module until it is taken.
EM_ASYNC_JS(int, zk_port_receive, (int milliseconds), {
    Module.zkArrived = await Module.zkPort.receive(milliseconds);
    return Module.zkArrived.length;
});

EM_JS(void, zk_port_take, (std::uint8_t* into, int length), {
    HEAPU8.set(Module.zkArrived.subarray(0, length), into);
    Module.zkArrived = null;
});

EM_ASYNC_JS(void, zk_port_drain, (), {
    if (Module.zkPort && Module.zkPort.drain)
        await Module.zkPort.drain();
});

EM_JS(void, zk_progress, (const char* label, int blocksDone), {
    if (Module.zkProgress)
        Module.zkProgress(UTF8ToString(label), blocksDone);
});
// clang-format on

namespace zk::web {

JsPortLink::JsPortLink()
    : link_(
          [](const std::uint8_t* bytes, std::uint16_t length) {
              zk_port_write(bytes, length);
              return true;
          },
          [] { return zk_port_ready() != 0; }, [this](int milliseconds) { waitOnPort(milliseconds); })
{
}

void JsPortLink::waitOnPort(int milliseconds)
{
    const int arrived = zk_port_receive(milliseconds);
    if (arrived <= 0)
        return;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(arrived));
    zk_port_take(bytes.data(), arrived);
    // The handler takes at most 64 KiB at a time, as a serial read would.
    for (std::size_t at = 0; at < bytes.size(); at += 0xFFFF) {
        const std::size_t length = std::min<std::size_t>(0xFFFF, bytes.size() - at);
        link_.Comm1ReceiveData(bytes.data() + at, static_cast<std::uint16_t>(length));
    }
}

void drainJsPort()
{
    zk_port_drain();
}

void reportProgress(const char* label, int blocksDone)
{
    zk_progress(label, blocksDone);
}

} // namespace zk::web
