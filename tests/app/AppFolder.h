#pragma once
// A temporary application folder with an image/ subfolder, and the small
// file and picture helpers the start-up tests share.
#include "JpegWriter.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace zk::test {

class AppFolder {
public:
    AppFolder() { std::filesystem::create_directories(path("image")); }

    // The application folder as the windows take it, ending in '/'.
    std::string folder() const { return dir_.path().toStdString() + "/"; }
    std::string path(const std::string& relative) const { return folder() + relative; }

    void write(const std::string& relative, const std::string& bytes) const
    {
        std::ofstream out(path(relative), std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out.flush())
            ADD_FAILURE() << "cannot write " << path(relative);
    }

    std::string read(const std::string& relative) const
    {
        std::ifstream in(path(relative), std::ios::binary);
        if (!in)
            return "<missing>";
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    bool exists(const std::string& relative) const { return std::filesystem::exists(path(relative)); }

    unsigned mode(const std::string& relative) const
    {
        struct stat st {};
        if (::stat(path(relative).c_str(), &st) != 0)
            return 0;
        return st.st_mode & 07777u;
    }

    // Names in image/, sorted: shows any temporary file left behind.
    std::vector<std::string> imageEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path("image")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    QTemporaryDir dir_;
};

inline QImage solidImage(const QColor& colour, int width = 64, int height = 48)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline std::string jpegBytes(const QImage& image)
{
    const std::vector<unsigned char> bytes = zk::encodeJpeg(image, 95);
    return std::string(bytes.begin(), bytes.end());
}

// A picture with detail everywhere, so its JPEG is large and varied.
inline QImage noisyImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    unsigned seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            image.setPixel(x, y, qRgb(int(seed >> 24), int((seed >> 16) & 0xff), (x * 4 + y) & 0xff));
        }
    return image;
}

// JPEG is lossy: a solid colour comes back within a few steps.
inline bool nearColour(QRgb actual, const QColor& expected, int tolerance = 6)
{
    return std::abs(qRed(actual) - expected.red()) <= tolerance && std::abs(qGreen(actual) - expected.green()) <= tolerance
        && std::abs(qBlue(actual) - expected.blue()) <= tolerance;
}

// The widget that Tab moves to from w: the next one in the focus chain
// that takes focus by Tab.
inline QWidget* nextInTabOrder(QWidget* w)
{
    for (QWidget* next = w->nextInFocusChain(); next && next != w; next = next->nextInFocusChain())
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled())
            return next;
    return nullptr;
}

// What the login window's Image1 holds now.
inline QImage shownPicture(const QWidget& form)
{
    const auto* image = form.findChild<QLabel*>(QStringLiteral("Image1"));
    if (!image) {
        ADD_FAILURE() << "no Image1";
        return {};
    }
    return image->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace zk::test
