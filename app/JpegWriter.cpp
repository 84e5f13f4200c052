#include "JpegWriter.h"

#include "Errors.h"
#include "FileIo.h"
#include "JpegPicture.h"

#include <csetjmp>
#include <cstdlib>

#include <jpeglib.h>

namespace zk {

namespace {

// Same arrangement as the decoder: libjpeg jumps back to encodeInto, and the
// C++ exception is thrown only once libjpeg has been left.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void onFatalError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void onOutputMessage(j_common_ptr) {}

void writePixels(jpeg_compress_struct* cinfo, const QImage* rgb, int quality, unsigned char** buffer,
                 unsigned long* size)
{
    jpeg_mem_dest(cinfo, buffer, size);
    cinfo->image_width = static_cast<JDIMENSION>(rgb->width());
    cinfo->image_height = static_cast<JDIMENSION>(rgb->height());
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        // libjpeg only reads the rows, whatever its prototype says.
        JSAMPROW row = const_cast<uchar*>(rgb->constScanLine(static_cast<int>(cinfo->next_scanline)));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
}

bool encodeInto(const QImage* rgb, int quality, unsigned char** buffer, unsigned long* size, int* code)
{
    jpeg_compress_struct cinfo;
    ErrorManager manager;
    cinfo.err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = onFatalError;
    manager.pub.output_message = onOutputMessage;
    if (setjmp(manager.jump)) {
        jpeg_destroy_compress(&cinfo);
        *code = manager.pub.msg_code;
        return false;
    }
    jpeg_create_compress(&cinfo);
    writePixels(&cinfo, rgb, quality, buffer, size);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

std::vector<unsigned char> encodeJpeg(const QImage& image, int quality)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    int code = 0;
    const bool ok = encodeInto(&rgb, quality, &buffer, &size, &code);
    std::vector<unsigned char> bytes;
    if (ok)
        bytes.assign(buffer, buffer + size);
    std::free(buffer); // the memory destination leaves its buffer to the caller
    if (!ok)
        throw jpegError(code);
    return bytes;
}

void saveJpeg(const QImage& image, const std::string& path, int quality)
{
    const std::vector<unsigned char> bytes = encodeJpeg(image, quality);
    replaceFile(path, std::string(bytes.begin(), bytes.end()));
}

} // namespace zk
