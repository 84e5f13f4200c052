#pragma once
// Writing an image as a JPEG file: used by the build to make the default
// background picture, and by tests to make pictures of their own.
#include <QImage>
#include <string>
#include <vector>

namespace zk {

// The image encoded as a baseline JPEG; quality 1 to 100.
std::vector<unsigned char> encodeJpeg(const QImage& image, int quality = 90);

// encodeJpeg written to path by the safe replacement of FileIo.h;
// "Cannot create file ..." when it cannot be written.
void saveJpeg(const QImage& image, const std::string& path, int quality = 90);

} // namespace zk
