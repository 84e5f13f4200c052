#pragma once
// The side files hold bytes; the windows hold QStrings. Every crossing goes
// through these two so the whole program uses one encoding (UTF-8, the
// encoding of the Linux desktop), and a password typed in a field is compared
// with the file's bytes exactly as they would be written.
#include <QString>
#include <string>

namespace zk {

inline std::string toBytes(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline QString fromBytes(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Command-line arguments cross as Latin-1 instead: it gives every byte a
// character of its own, so a file name that is not UTF-8 comes back out
// byte for byte.
inline QString argumentToQt(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string argumentFromQt(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace zk
