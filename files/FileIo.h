#pragma once
// Whole-file reads and all-or-nothing replacements, with the user-facing
// errors raised where the system call fails.
#include <string>

namespace zk {

// The path as the user should see it in a message: made absolute against the
// working directory, otherwise unchanged.
std::string fullPath(const std::string& path);

// Every byte of the file. "Cannot open file ..." with the system's reason.
std::string readWholeFile(const std::string& path);

enum class FileAccess {
    Keep,      // an existing file keeps its permissions; a new one follows the umask
    OwnerOnly, // always read and write for the owner alone
};

// Writes the bytes to a fresh file beside path, flushes it to the disk and
// renames it over path, so readers see the old or the new file, never a
// half-written one. On failure the temporary is removed, path is untouched
// and "Cannot create file ..." is raised with the system's reason.
void replaceFile(const std::string& path, const std::string& bytes, FileAccess access = FileAccess::Keep);

} // namespace zk
