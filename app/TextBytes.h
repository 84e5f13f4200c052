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

} // namespace zk
