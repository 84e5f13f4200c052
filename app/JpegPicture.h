#pragma once
// Loading a picture file into an image, decoded completely at load so that a
// file the decoder rejects anywhere fails here, like a missing one.
#include "Backdrop.h"
#include "Errors.h"

#include <QImage>
#include <QSize>
#include <string>
#include <vector>

namespace zk {

// "JPEG error #%d", with the decoder's message code.
AppError jpegError(int code);
// "Unknown picture file extension (.%s)", the extension as in the file name.
AppError unknownPictureExtensionError(const std::string& extension);

// The most pixels a picture is decoded into, after the reduction below:
// 64 MB at four bytes a pixel. A bigger one is refused before any pixel
// is decoded.
inline constexpr long long kMaxDecodedPixels = 16'000'000;

// The login window's size: pictures are reduced for it.
inline constexpr QSize kPictureWindow{kPictureWidth, kPictureHeight};

// The kind of picture follows the file name's extension: .jpg and .jpeg (in
// any letter case) are JPEG; anything else is refused before the file is
// opened. Only a regular file is read (never a device or a pipe), and at
// most 64 MiB of it. Fails with the open error, the extension error, the
// too-large error or a JPEG error. The picture is reduced as decodeJpeg says.
QImage loadPicture(const std::string& path, QSize window = kPictureWindow);

// Decodes a whole JPEG held in memory. Corrupt-data warnings count as
// errors, so a truncated file is refused rather than shown half grey.
// A picture larger than the window in both directions is decoded at the
// smallest of libjpeg's scales (1/8 to 8/8) that still covers the window,
// then scaled to the window's size; an empty window keeps the full size.
// "The picture is too large to show ..." when more than kMaxDecodedPixels
// would be decoded, or libjpeg would need more than its memory limit.
QImage decodeJpeg(const std::vector<unsigned char>& bytes, QSize window = QSize());

} // namespace zk
