#include "FileIo.h"

#include "Errors.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zk {

namespace {

std::string reason(int error)
{
    return std::strerror(error);
}

// Closes the descriptor on every way out of a scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failing close can still be reported.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Why something that exists cannot be read or written as a file; empty for
// a regular file.
std::string notAFileReason(mode_t mode)
{
    if (S_ISREG(mode))
        return std::string();
    if (S_ISDIR(mode))
        return reason(EISDIR);
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "It is a device, not a file";
    if (S_ISFIFO(mode))
        return "It is a pipe, not a file";
    if (S_ISSOCK(mode))
        return "It is a socket, not a file";
    return "It is not a regular file";
}

std::string tooLargeReason(const FileKind& kind)
{
    return std::string("It is too large to be ") + kind.name + " (over " + kind.limitText + ")";
}

enum class ReadResult { Done, TooLarge, Failed };

// Reads to the end, or stops one byte past the limit. errno tells a failure.
ReadResult readUpTo(int fd, std::size_t limit, std::string& bytes)
{
    char buffer[65536];
    for (;;) {
        const std::size_t room = limit + 1 - bytes.size();
        const ssize_t n = ::read(fd, buffer, room < sizeof buffer ? room : sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ReadResult::Failed;
        }
        if (n == 0)
            return ReadResult::Done;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > limit)
            return ReadResult::TooLarge;
    }
}

// Creates a temporary file beside target that no one else can have opened:
// O_EXCL refuses a name that exists, so a clash only costs another try.
int createTemporary(const std::string& target, mode_t mode, std::string& name)
{
    static std::atomic<unsigned> counter{0};
    const std::string stem = folderOf(target) + "/." + baseNameOf(target) + ".tmp-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = stem + std::to_string(counter.fetch_add(1));
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Both callers hand over a file just opened, so it is written from its start.
bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The name a chain of symbolic links ends at, whether or not that exists.
std::string finalTarget(std::string path)
{
    for (int hop = 0; hop < 40; ++hop) {
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
        if (n <= 0 || static_cast<std::size_t>(n) == sizeof buffer)
            return path;
        const std::string next(buffer, static_cast<std::size_t>(n));
        path = next.front() == '/' ? next : folderOf(path) + "/" + next;
    }
    return path; // a loop: the steps that follow report it
}

// Makes the rename itself durable; a failure here loses nothing the user
// could act on, so it is not reported.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The outcome of writing beside the target and renaming over it.
struct Attempt {
    int error = 0;          // 0: done
    bool mayGoInPlace = false; // nothing was changed, and writing in place could still succeed
};

// Writes a fresh file beside target and renames it over target. With `old`
// the fresh file takes its owner, group and mode first; when they cannot
// be given to it the attempt stops, so the caller can write in place.
Attempt writeBesideAndRename(const std::string& target, const std::string& bytes, const struct stat* old,
                             FileAccess access)
{
    const bool ownerOnly = access == FileAccess::OwnerOnly;
    std::string temporary;
    // A new file follows the umask; a replacement takes the old mode below.
    Descriptor fd(createTemporary(target, ownerOnly ? 0600 : 0666, temporary));
    if (fd.get() < 0)
        return {errno, errno == EACCES || errno == EPERM};

    auto fail = [&](int error, bool mayGoInPlace = false) {
        ::unlink(temporary.c_str());
        return Attempt{error, mayGoInPlace};
    };
    if (old && (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) &&
        ::fchown(fd.get(), old->st_uid, old->st_gid) != 0)
        return fail(errno, true);
    // After the chown, which clears set-id bits; fchmod ignores the umask.
    const mode_t mode = ownerOnly ? 0600 : old ? (old->st_mode & 07777) : 0;
    if ((old || ownerOnly) && ::fchmod(fd.get(), mode) != 0)
        return fail(errno);
    if (!writeAll(fd.get(), bytes))
        return fail(errno);
    if (::fsync(fd.get()) != 0)
        return fail(errno);
    if (fd.close() != 0)
        return fail(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(errno, errno == EBUSY); // EBUSY: a file mounted on its own
    syncFolder(folderOf(target));
    return {};
}

// Overwrites the open file from its start. The space is reserved first, so
// a full disk or a size limit fails before a byte of the old content
// changes. 0 or the errno of the failing step.
int writeInPlace(int fd, const std::string& bytes)
{
    if (!bytes.empty()) {
        const int reserved = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
            return reserved;
    }
    if (!writeAll(fd, bytes) || ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0)
        return errno;
    return 0;
}

} // namespace

std::string fullPath(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

std::string readRegularFile(const std::string& path, const FileKind& kind)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        throw cannotOpenError(fullPath(path), reason(errno));
    if (!S_ISREG(st.st_mode))
        throw cannotOpenError(fullPath(path), notAFileReason(st.st_mode));
    if (static_cast<std::size_t>(st.st_size) > kind.maxBytes)
        throw cannotOpenError(fullPath(path), tooLargeReason(kind));
    // Something else may stand there by now: O_NONBLOCK keeps a pipe from
    // holding the open, and what was opened is looked at once more.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        throw cannotOpenError(fullPath(path), reason(errno));
    if (::fstat(fd.get(), &st) != 0)
        throw cannotOpenError(fullPath(path), reason(errno));
    if (!S_ISREG(st.st_mode))
        throw cannotOpenError(fullPath(path), notAFileReason(st.st_mode));
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    switch (readUpTo(fd.get(), kind.maxBytes, bytes)) {
    case ReadResult::Done:
        return bytes;
    case ReadResult::TooLarge: // it grew while being read
        throw cannotOpenError(fullPath(path), tooLargeReason(kind));
    case ReadResult::Failed:
        break;
    }
    throw cannotOpenError(fullPath(path), reason(errno));
}

std::string readBoundedStream(int fd, const std::string& name, const FileKind& kind)
{
    std::string bytes;
    switch (readUpTo(fd, kind.maxBytes, bytes)) {
    case ReadResult::Done:
        return bytes;
    case ReadResult::TooLarge:
        throw AppError("Cannot read " + name + ". " + tooLargeReason(kind));
    case ReadResult::Failed:
        break;
    }
    throw AppError("Cannot read " + name + ". " + reason(errno));
}

void replaceFile(const std::string& path, const std::string& bytes, FileAccess access)
{
    auto refuse = [&](const std::string& why) { throw cannotCreateError(fullPath(path), why); };

    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT)
            refuse(reason(errno));
        // Nothing there, or a link that leads nowhere yet: create what it names.
        const Attempt created = writeBesideAndRename(finalTarget(path), bytes, nullptr, access);
        if (created.error != 0)
            refuse(reason(created.error));
        return;
    }
    // A device, a pipe or a folder is never replaced by a file.
    if (!S_ISREG(st.st_mode))
        refuse(notAFileReason(st.st_mode));
    // Whether the user may change this file is the file's own permissions'
    // decision, as for the shell's ">", not the folder's.
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        refuse(reason(errno));
    if (::fstat(fd.get(), &st) != 0)
        refuse(reason(errno));
    if (!S_ISREG(st.st_mode))
        refuse(notAFileReason(st.st_mode));

    // A rename would give the name a new file: only right when the name
    // found is this file's one and only name.
    const std::string target = finalTarget(path);
    struct stat named {};
    const bool onlyName = st.st_nlink == 1 && ::lstat(target.c_str(), &named) == 0 &&
                          named.st_dev == st.st_dev && named.st_ino == st.st_ino;
    if (onlyName) {
        const Attempt replaced = writeBesideAndRename(target, bytes, &st, access);
        if (replaced.error == 0)
            return;
        if (!replaced.mayGoInPlace)
            refuse(reason(replaced.error));
    }
    if (access == FileAccess::OwnerOnly && ::fchmod(fd.get(), 0600) != 0)
        refuse(reason(errno));
    if (const int error = writeInPlace(fd.get(), bytes); error != 0)
        refuse(reason(error));
    if (fd.close() != 0)
        refuse(reason(errno));
}

} // namespace zk
