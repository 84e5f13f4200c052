#pragma once
// The small files beside the program: application folder, first-line reads,
// single-line writes and file copies.
#include <string>

namespace zk {

// The folder of the running program's own file (not the working
// directory), ending in '/'.
std::string applicationFolder();

// folder + literal, where the literal is written with backslashes as in
// "\image\1.bc"; the separators become '/', and a doubled one counts once.
std::string sideFilePath(const std::string& folder, const std::string& literal);

inline constexpr const char* kPasswordFile = "\\image\\1.bc";
inline constexpr const char* kTitleFile = "\\image\\2.bc";
inline constexpr const char* kBackgroundFile = "\\image\\1.jpg";

// The bytes up to the first CR, LF or NUL. "Cannot open file ..." when it
// cannot be read, "List index out of bounds (0)" when there is no line.
std::string readFirstLine(const std::string& path);

// Replaces the file by text + CR LF through a temporary file and a rename.
// ownerOnly creates it readable and writable by its owner alone.
// "Cannot create file ..." on failure; the old file is then untouched.
void writeSingleLine(const std::string& path, const std::string& text, bool ownerOnly = false);

// Copies source over target through a temporary file and a rename; false
// on any failure, and then target is untouched.
bool copyFile(const std::string& source, const std::string& target);

} // namespace zk
