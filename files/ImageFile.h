#pragma once
// Raw radio images on disk: exactly the 512 bytes of a RadioImage, nothing
// else, as the virtual radio's --image files are.
#include "FileIo.h"
#include "RadioImage.h"

#include <chrono>
#include <string>

namespace zk {

inline constexpr FileKind kImageFileKind{"a radio image", std::size_t{64} << 10, "64 KiB"};

// The image in the file. A file of any other size is refused with
// "<path> is not a radio image: it holds N bytes, an image holds 512.", so
// nothing is ever sent from a damaged or wrong file.
RadioImage readImageFile(const std::string& path);

// Replaces or creates the file safely (replaceFile).
void saveImageFile(const std::string& path, const RadioImage& image);

// A new file name in folder for a backup taken at `when` (local time):
// radio-2026-12-08-044512.img, with "-2", "-3"... added when that name is
// taken. The folder is made when missing; AppError when it cannot be.
std::string newBackupPath(const std::string& folder, std::chrono::system_clock::time_point when);

} // namespace zk
