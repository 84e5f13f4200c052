#include "FileIo.h"

#include "Errors.h"

#include <atomic>
#include <cerrno>
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

// The file a symbolic link leads to, or path itself when it is no link or
// leads nowhere that exists.
std::string linkTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    std::error_code error;
    const auto resolved = std::filesystem::canonical(path, error);
    return error ? path : resolved.string();
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

} // namespace

std::string fullPath(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

std::string readWholeFile(const std::string& path)
{
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        throw cannotOpenError(fullPath(path), reason(errno));
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            // A folder opens but cannot be read: to the user it cannot be opened.
            throw cannotOpenError(fullPath(path), reason(errno));
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void replaceFile(const std::string& path, const std::string& bytes, FileAccess access)
{
    // A link is followed, so the file it names gets the new content and the
    // link stays; renaming over the link itself would silently cut it.
    const std::string target = linkTarget(path);

    // The permissions the new content ends up with: the old file's when it
    // is replaced, so a replace does not widen or narrow who may read it.
    bool keepMode = false;
    mode_t mode = 0600;
    struct stat old {};
    if (access == FileAccess::Keep && ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        keepMode = true;
        mode = old.st_mode & 07777;
    }
    const mode_t createMode = access == FileAccess::OwnerOnly ? 0600 : 0666; // the umask trims 0666

    std::string temporary;
    Descriptor fd(createTemporary(target, createMode, temporary));
    if (fd.get() < 0)
        throw cannotCreateError(fullPath(path), reason(errno));

    auto fail = [&](int error) {
        ::unlink(temporary.c_str());
        throw cannotCreateError(fullPath(path), reason(error));
    };
    // fchmod ignores the umask: an owner-only file stays exactly 0600.
    if ((keepMode || access == FileAccess::OwnerOnly) && ::fchmod(fd.get(), mode) != 0)
        fail(errno);
    if (!writeAll(fd.get(), bytes))
        fail(errno);
    if (::fsync(fd.get()) != 0)
        fail(errno);
    if (fd.close() != 0)
        fail(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        fail(errno);
    syncFolder(folderOf(target));
}

} // namespace zk
