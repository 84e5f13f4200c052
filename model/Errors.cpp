#include "Errors.h"

#include "VisibleText.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

namespace zk {

AppError listIndexError(long index)
{
    return AppError("List index out of bounds (" + std::to_string(index) + ")");
}

AppError invalidIntegerError(const std::string& text)
{
    return AppError("'" + visibleText(text) + "' is not a valid integer value");
}

AppError invalidFloatError(const std::string& text)
{
    return AppError("'" + visibleText(text) + "' is not a valid floating point value");
}

AppError cannotOpenError(const std::string& path, const std::string& reason)
{
    return AppError("Cannot open file \"" + visibleText(path) + "\". " + reason);
}

AppError cannotCreateError(const std::string& path, const std::string& reason)
{
    return AppError("Cannot create file \"" + visibleText(path) + "\". " + reason);
}

namespace {

std::string trimBlanks(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

long parseInteger(const std::string& text)
{
    const std::string t = trimBlanks(text);
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    if (i == t.size())
        throw invalidIntegerError(text);
    for (std::size_t j = i; j < t.size(); ++j)
        if (!std::isdigit(static_cast<unsigned char>(t[j])))
            throw invalidIntegerError(text);
    // The values are 32-bit, as the file's readers always were.
    long value = 0;
    const char* first = t.data() + (t[0] == '+' ? 1 : 0);
    const auto result = std::from_chars(first, t.data() + t.size(), value);
    if (result.ec != std::errc() || value > 2147483647L || value < -2147483648L)
        throw invalidIntegerError(text);
    return value;
}

double parseDecimal(const std::string& text)
{
    // Digits with at most one point and an optional sign; nothing the C
    // library would also accept (hex, exponents, "inf") counts here.
    const std::string t = trimBlanks(text);
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (std::size_t j = i; j < t.size(); ++j) {
        const char c = t[j];
        if (std::isdigit(static_cast<unsigned char>(c)))
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            throw invalidFloatError(text);
    }
    if (!digits)
        throw invalidFloatError(text);
    const char* first = t.data() + (t[0] == '+' ? 1 : 0);
#if defined(__EMSCRIPTEN__)
    // The WebAssembly C++ library has no floating-point from_chars; its
    // strtod knows only the C locale, so a point is always the separator.
    const std::string digitsOnly(first, t.data() + t.size());
    char* end = nullptr;
    const double value = std::strtod(digitsOnly.c_str(), &end);
    if (end != digitsOnly.c_str() + digitsOnly.size())
        throw invalidFloatError(text);
#else
    // from_chars ignores the process locale, which may use a decimal comma.
    double value = 0;
    const auto result = std::from_chars(first, t.data() + t.size(), value);
    if (result.ec != std::errc() || result.ptr != t.data() + t.size())
        throw invalidFloatError(text);
#endif
    return value;
}

} // namespace zk
