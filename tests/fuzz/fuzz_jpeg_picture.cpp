// Any bytes given to the picture decoder, reduced for the login window as
// at start-up, give a picture no larger than the window allows or raise a
// user-facing error; nothing else may happen.
#include "JpegPicture.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<unsigned char> bytes(data, data + size);
    try {
        const QImage picture = zk::decodeJpeg(bytes, zk::kPictureWindow);
        if (static_cast<long long>(picture.width()) * picture.height() > zk::kMaxDecodedPixels)
            std::abort();
    } catch (const zk::AppError&) {
    }
    return 0;
}
