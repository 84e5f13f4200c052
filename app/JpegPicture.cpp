#include "JpegPicture.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

namespace zk {

AppError jpegError(int code)
{
    return AppError("JPEG error #" + std::to_string(code));
}

AppError unknownPictureExtensionError(const std::string& extension)
{
    return AppError("Unknown picture file extension (." + extension + ")");
}

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return.
// It jumps back to the setjmp in decodeInto; only libjpeg's own C frames lie
// in between, so no C++ destructor is skipped. The C++ exception is raised
// only after libjpeg has been left and its state destroyed.
struct ErrorManager {
    jpeg_error_mgr pub; // first, so libjpeg's pointer converts back
    std::jmp_buf jump;
};

[[noreturn]] void onFatalError(j_common_ptr cinfo)
{
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level)
{
    // Level -1 is a warning about corrupt data (a truncated file, a bad
    // Huffman code): the picture would be drawn damaged, so it is refused.
    // Levels 0 and above are trace messages, of no interest here.
    if (level < 0)
        onFatalError(cinfo);
}

void onOutputMessage(j_common_ptr) {}

void readPixels(jpeg_decompress_struct* cinfo, const unsigned char* data, unsigned long size, QImage* out)
{
    jpeg_mem_src(cinfo, data, size);
    jpeg_read_header(cinfo, TRUE);
    // libjpeg turns grey and YCbCr into RGB itself; a CMYK file it cannot
    // convert is refused with its own error.
    cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    *out = QImage(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height),
                  QImage::Format_RGB888);
    if (out->isNull()) {
        cinfo->err->msg_code = JERR_OUT_OF_MEMORY;
        cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = out->scanLine(static_cast<int>(cinfo->output_scanline));
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_decompress(cinfo);
}

// False with libjpeg's message code in *code when the decoder gave up. Holds
// no object with a destructor, so the jump back to setjmp is well defined.
bool decodeInto(const unsigned char* data, unsigned long size, QImage* out, int* code)
{
    jpeg_decompress_struct cinfo;
    ErrorManager manager;
    cinfo.err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = onFatalError;
    manager.pub.emit_message = onMessage;
    manager.pub.output_message = onOutputMessage;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&cinfo);
        *code = manager.pub.msg_code;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    readPixels(&cinfo, data, size, out);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

std::string extensionOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool isJpegExtension(std::string extension)
{
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension == "jpg" || extension == "jpeg";
}

std::vector<unsigned char> readAll(const std::string& path)
{
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw cannotOpenError(path, std::strerror(errno));
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    if (std::ferror(file.get())) // a folder opens but cannot be read
        throw cannotOpenError(path, std::strerror(errno));
    return bytes;
}

} // namespace

QImage decodeJpeg(const std::vector<unsigned char>& bytes)
{
    QImage image;
    int code = 0;
    if (!decodeInto(bytes.data(), static_cast<unsigned long>(bytes.size()), &image, &code))
        throw jpegError(code);
    return image;
}

QImage loadPicture(const std::string& path)
{
    const std::string extension = extensionOf(path);
    if (!isJpegExtension(extension))
        throw unknownPictureExtensionError(extension);
    return decodeJpeg(readAll(path));
}

} // namespace zk
