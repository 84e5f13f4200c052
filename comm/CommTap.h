// A listener that sees everything the port component does on the line: the
// opening and closing, each block sent and received, a hang-up, and notes
// from the layers above (a reply that did not come in time). The serial
// trace is one; it watches the one code path instead of being a second.
// Called on the component's thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CommTap {
public:
    virtual ~CommTap() = default;
    virtual void opened(const std::string& path) = 0;
    virtual void openFailed(const std::string& path, const std::string& reason) = 0;
    virtual void closed() = 0;
    // Bytes handed to the writer, in the order they go on the line.
    virtual void sent(const uint8_t* bytes, size_t count) = 0;
    virtual void received(const uint8_t* bytes, size_t count) = 0;
    virtual void hungUp() = 0;
    virtual void note(const std::string& text) = 0;
};
