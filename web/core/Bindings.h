#pragma once
// Small conversions between the core's values and script values.
#include "WebPlan.h"

#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zk::web {

// A fresh Uint8Array holding a copy of the bytes.
emscripten::val bytesOut(const std::uint8_t* data, std::size_t size);
emscripten::val bytesOut(const std::string& bytes);
// {kind, text, detail}
emscripten::val messageOut(const Message& message);
emscripten::val linesOut(const std::vector<std::string>& lines);

} // namespace zk::web
