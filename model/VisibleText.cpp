#include "VisibleText.h"

#include <cstdio>

namespace zk {

namespace {

void appendEscape(std::string& out, const char* format, unsigned value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, format, value);
    out += buffer;
}

bool continuation(std::string_view text, std::size_t at, unsigned char low = 0x80, unsigned char high = 0xBF)
{
    if (at >= text.size())
        return false;
    const auto c = static_cast<unsigned char>(text[at]);
    return c >= low && c <= high;
}

// Length of the well-formed UTF-8 sequence starting at i (2 to 4), 0 if
// there is none; the bounds of the second byte rule out overlong forms and
// surrogates.
std::size_t sequenceLength(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(text, i + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return continuation(text, i + 1, low, high) && continuation(text, i + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return continuation(text, i + 1, low, high) && continuation(text, i + 2) && continuation(text, i + 3) ? 4 : 0;
    }
    return 0;
}

} // namespace

std::string visibleText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            ++i;
        } else if (c == '\t' || c == '\r' || c == '\n') {
            out += c == '\t' ? "\\t" : c == '\r' ? "\\r" : "\\n";
            ++i;
        } else if (c < 0x80) {
            appendEscape(out, "\\x%02X", c);
            ++i;
        } else if (const std::size_t length = sequenceLength(text, i); length == 0) {
            appendEscape(out, "\\x%02X", c);
            ++i;
        } else if (c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            // U+0080 to U+009F: the eight-bit controls, CSI among them.
            appendEscape(out, "\\u%04X", static_cast<unsigned char>(text[i + 1]));
            i += 2;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

} // namespace zk
