#include "JpegPicture.h"

#include "FileIo.h"

#include <csetjmp>
#include <cstdio>

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

// libjpeg's own working memory: a progressive picture keeps every
// coefficient of the whole picture, whatever the scale it is decoded at.
constexpr long kDecoderMemoryLimit = 100L * 1000 * 1000;

// libjpeg-turbo can write Qt's 32-bit layout directly, which smooth scaling
// takes without another copy of the pixels.
#if defined(JCS_EXTENSIONS) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kOutputSpace = JCS_EXT_BGRX;
constexpr QImage::Format kOutputFormat = QImage::Format_RGB32;
#else
constexpr J_COLOR_SPACE kOutputSpace = JCS_RGB;
constexpr QImage::Format kOutputFormat = QImage::Format_RGB888;
#endif

struct Decoded {
    QImage image;
    int code = 0;          // libjpeg's message code when it gave up
    enum { Fits, TooManyPixels, TooMuchMemory } size = Fits; // width and height tell it
    unsigned width = 0;
    unsigned height = 0;
};

// The smallest of libjpeg's scales M/8 whose output still covers the
// window; full size when the picture is not larger in both directions.
void chooseScale(jpeg_decompress_struct* cinfo, QSize window)
{
    const auto w = static_cast<JDIMENSION>(window.width());
    const auto h = static_cast<JDIMENSION>(window.height());
    if (window.isEmpty() || cinfo->image_width <= w || cinfo->image_height <= h)
        return;
    cinfo->scale_denom = 8;
    for (unsigned m = 1; m <= 8; ++m) {
        cinfo->scale_num = m;
        jpeg_calc_output_dimensions(cinfo);
        if (cinfo->output_width >= w && cinfo->output_height >= h)
            return;
    }
}

void readPixels(jpeg_decompress_struct* cinfo, const unsigned char* data, unsigned long size, QSize window,
                Decoded* out)
{
    jpeg_mem_src(cinfo, data, size);
    jpeg_read_header(cinfo, TRUE);
    out->width = cinfo->image_width;
    out->height = cinfo->image_height;
    // libjpeg turns grey and YCbCr into RGB itself; a CMYK file it cannot
    // convert is refused with its own error.
    cinfo->out_color_space = kOutputSpace;
    chooseScale(cinfo, window);
    jpeg_calc_output_dimensions(cinfo);
    if (static_cast<long long>(cinfo->output_width) * cinfo->output_height > kMaxDecodedPixels) {
        out->size = Decoded::TooManyPixels;
        return;
    }
    jpeg_start_decompress(cinfo);
    out->image = QImage(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height), kOutputFormat);
    if (out->image.isNull()) {
        cinfo->err->msg_code = JERR_OUT_OF_MEMORY;
        cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = out->image.scanLine(static_cast<int>(cinfo->output_scanline));
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_decompress(cinfo);
}

// False when the decoder gave up or the picture is too large. Holds no
// object with a destructor, so the jump back to setjmp is well defined.
bool decodeInto(const unsigned char* data, unsigned long size, QSize window, Decoded* out)
{
    jpeg_decompress_struct cinfo;
    ErrorManager manager;
    cinfo.err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = onFatalError;
    manager.pub.emit_message = onMessage;
    manager.pub.output_message = onOutputMessage;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&cinfo);
        out->code = manager.pub.msg_code;
        // Past the memory limit libjpeg asks for a backing store it has none of.
        if (out->code == JERR_NO_BACKING_STORE)
            out->size = Decoded::TooMuchMemory;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kDecoderMemoryLimit;
    readPixels(&cinfo, data, size, window, out);
    jpeg_destroy_decompress(&cinfo);
    return out->size == Decoded::Fits;
}

QImage decodeBytes(const unsigned char* data, std::size_t size, QSize window)
{
    Decoded decoded;
    if (!decodeInto(data, static_cast<unsigned long>(size), window, &decoded)) {
        if (decoded.size == Decoded::Fits)
            throw jpegError(decoded.code);
        const std::string limit = decoded.size == Decoded::TooManyPixels
            ? "at most " + std::to_string(kMaxDecodedPixels / 1000000) + " million pixels are decoded"
            : "decoding it would need more than " + std::to_string(kDecoderMemoryLimit / 1000000) + " MB";
        throw AppError("The picture is too large to show: " + std::to_string(decoded.width) + " x " +
                       std::to_string(decoded.height) + " pixels (" + limit + ")");
    }
    // The window stretches the picture anyway; reduced now, the big
    // decoded copy is freed at once.
    if (!window.isEmpty() && decoded.image.width() > window.width() && decoded.image.height() > window.height())
        return decoded.image.scaled(window, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return decoded.image;
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

} // namespace

QImage decodeJpeg(const std::vector<unsigned char>& bytes, QSize window)
{
    return decodeBytes(bytes.data(), bytes.size(), window);
}

QImage loadPicture(const std::string& path, QSize window)
{
    const std::string extension = extensionOf(path);
    if (!isJpegExtension(extension))
        throw unknownPictureExtensionError(extension);
    const std::string bytes = readRegularFile(path, kPictureFileKind);
    return decodeBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), window);
}

} // namespace zk
