#include "Bindings.h"

#include <emscripten/val.h>

namespace zk::web {

using emscripten::val;

val bytesOut(const std::uint8_t* data, std::size_t size)
{
    // The view looks into the module's memory; the new array is a copy
    // that stays valid whatever the module does next.
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(size, data));
}

val bytesOut(const std::string& bytes)
{
    return bytesOut(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

val messageOut(const Message& message)
{
    val out = val::object();
    out.set("kind", message.kind);
    out.set("text", message.text);
    out.set("detail", message.detail);
    return out;
}

val linesOut(const std::vector<std::string>& lines)
{
    val out = val::array();
    for (const std::string& line : lines)
        out.call<void>("push", line);
    return out;
}

} // namespace zk::web
