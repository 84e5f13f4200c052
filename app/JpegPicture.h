#pragma once
// Loading a picture file into an image, decoded completely at load so that a
// file the decoder rejects anywhere fails here, like a missing one.
#include "Errors.h"

#include <QImage>
#include <string>
#include <vector>

namespace zk {

// "JPEG error #%d", with the decoder's message code.
AppError jpegError(int code);
// "Unknown picture file extension (.%s)", the extension as in the file name.
AppError unknownPictureExtensionError(const std::string& extension);

// The kind of picture follows the file name's extension: .jpg and .jpeg (in
// any letter case) are JPEG; anything else is refused before the file is
// opened. Fails with the open error, the extension error or a JPEG error.
QImage loadPicture(const std::string& path);

// Decodes a whole JPEG held in memory. Corrupt-data warnings count as
// errors, so a truncated file is refused rather than shown half grey.
QImage decodeJpeg(const std::vector<unsigned char>& bytes);

} // namespace zk
