#include "SideFiles.h"

#include "Errors.h"
#include "FileIo.h"

#include <cerrno>
#include <cstring>
#include <limits.h>
#include <unistd.h>

namespace zk {

std::string applicationFolder()
{
    // The kernel's link to the running program file; argv[0] and the
    // working directory both depend on how the program was started.
    std::string path(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0 || static_cast<std::size_t>(n) >= path.size())
        throw AppError(std::string("Cannot find the program's own folder. ") +
                       (n < 0 ? std::strerror(errno) : "The path is too long"));
    path.resize(static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

std::string sideFilePath(const std::string& folder, const std::string& literal)
{
    std::string path;
    path.reserve(folder.size() + literal.size());
    for (char c : folder + literal) {
        const char separator = c == '\\' ? '/' : c;
        if (separator == '/' && !path.empty() && path.back() == '/')
            continue;
        path += separator;
    }
    return path;
}

std::string readFirstLine(const std::string& path)
{
    const std::string bytes = readRegularFile(path, kTextSideFileKind);
    const std::size_t end = bytes.find_first_of(std::string_view("\r\n\0", 3));
    // No bytes at all, or a NUL first, leave no line to take.
    if (bytes.empty() || bytes.front() == '\0')
        throw listIndexError(0);
    return bytes.substr(0, end);
}

void writeSingleLine(const std::string& path, const std::string& text, bool ownerOnly)
{
    replaceFile(path, text + "\r\n", ownerOnly ? FileAccess::OwnerOnly : FileAccess::Keep);
}

bool copyFile(const std::string& source, const std::string& target)
{
    try {
        replaceFile(target, readRegularFile(source, kPictureFileKind));
        return true;
    } catch (const AppError&) {
        return false;
    }
}

} // namespace zk
