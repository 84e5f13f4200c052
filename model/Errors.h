#pragma once
// The errors a handler can meet, each carrying the text the user is shown.
#include <stdexcept>
#include <string>

namespace zk {

// Any failure that the error box reports to the user. Its what() is the text.
// Texts taken from a file or a file name appear with their control
// characters escaped (VisibleText.h).
class AppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "List index out of bounds (%d)"
AppError listIndexError(long index);
// "'%s' is not a valid integer value"
AppError invalidIntegerError(const std::string& text);
// "'%s' is not a valid floating point value"
AppError invalidFloatError(const std::string& text);
// "Cannot open file "%s". %s"
AppError cannotOpenError(const std::string& path, const std::string& reason);
// "Cannot create file "%s". %s"
AppError cannotCreateError(const std::string& path, const std::string& reason);

// Reads a whole text as a signed decimal integer (optional sign, surrounding
// blanks allowed), or throws invalidIntegerError.
long parseInteger(const std::string& text);
// Reads a whole text as a decimal number with a point as separator
// (surrounding blanks allowed), or throws invalidFloatError.
double parseDecimal(const std::string& text);

} // namespace zk
