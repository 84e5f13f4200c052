#pragma once
// Bounded whole-file reads and safe replacements, with the user-facing
// errors raised where the system call fails.
#include <cstddef>
#include <string>

namespace zk {

// The path as the user should see it in a message: made absolute against the
// working directory, otherwise unchanged.
std::string fullPath(const std::string& path);

// What a file is meant to be and the most bytes such a file may hold: far
// above any real one, so that /dev/zero or a stray film cannot eat the memory.
struct FileKind {
    const char* name;     // "a channel file", used in "... is too large to be a channel file"
    std::size_t maxBytes;
    const char* limitText; // "1 MiB"
};
inline constexpr FileKind kChannelFileKind{"a channel file", std::size_t{1} << 20, "1 MiB"};
inline constexpr FileKind kRecordsFileKind{"a records file", std::size_t{1} << 20, "1 MiB"};
inline constexpr FileKind kTextSideFileKind{"a password or title file", std::size_t{64} << 10, "64 KiB"};
inline constexpr FileKind kPictureFileKind{"a picture file", std::size_t{64} << 20, "64 MiB"};

// Every byte of a regular file. Devices, pipes and sockets are refused
// before they are opened for reading, so nothing ever blocks on them.
// "Cannot open file ..." with the system's reason, "It is a device, not a
// file" and the like, or "It is too large to be a channel file (...)".
std::string readRegularFile(const std::string& path, const FileKind& kind);

// Every byte of an open descriptor (standard input), up to the kind's limit.
std::string readBoundedStream(int fd, const std::string& name, const FileKind& kind);

enum class FileAccess {
    Keep,      // an existing file keeps its permissions; a new one follows the umask
    OwnerOnly, // always read and write for the owner alone
};

// Replaces the file's contents by the bytes, or creates it. The target must
// be a regular file or not exist, and writable as open(O_WRONLY) decides.
// A symbolic link (even a dangling one) writes the file it leads to. The
// bytes go to a fresh file beside the target that takes over the old one's
// owner, group and mode where the process may set them, is flushed to the
// disk and renamed over it, so readers see the old or the new file, never a
// half-written one. A file with several hard links, or one whose folder
// takes no new name, is written in place instead (space reserved first,
// then flushed), so every link sees the new contents. On failure the target
// is untouched where that can be ensured, no temporary is left, and
// "Cannot create file ..." is raised with the reason.
void replaceFile(const std::string& path, const std::string& bytes, FileAccess access = FileAccess::Keep);

} // namespace zk
