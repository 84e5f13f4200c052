// Picture loading: the extension decides the kind, the whole JPEG is decoded
// at load, and every failure carries the text the error box shows.
#include "AppFolder.h"
#include "Backdrop.h"
#include "FlatJpeg.h"
#include "JpegPicture.h"
#include "PasswordCheck.h"

#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

using zk::test::AppFolder;

namespace {

std::string loadError(const std::string& path)
{
    try {
        zk::loadPicture(path);
    } catch (const zk::AppError& e) {
        return e.what();
    }
    return "<loaded>";
}

std::string jpegErrorText(int code)
{
    return "JPEG error #" + std::to_string(code);
}

} // namespace

TEST(PasswordCheck, AcceptsOnlyTheSameBytes)
{
    EXPECT_TRUE(zk::passwordAccepted("123456", "123456"));
    EXPECT_TRUE(zk::passwordAccepted("", ""));
    EXPECT_TRUE(zk::passwordAccepted("pass ", "pass "));
    EXPECT_TRUE(zk::passwordAccepted(std::string("a\0b", 3), std::string("a\0b", 3)));
    EXPECT_TRUE(zk::passwordAccepted("\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9"));

    EXPECT_FALSE(zk::passwordAccepted("Secret", "secret"));    // no case folding
    EXPECT_FALSE(zk::passwordAccepted(" secret", "secret"));   // no trimming
    EXPECT_FALSE(zk::passwordAccepted("secret ", "secret"));
    EXPECT_FALSE(zk::passwordAccepted("secret", "secret "));
    EXPECT_FALSE(zk::passwordAccepted("secret\t", "secret"));
    EXPECT_FALSE(zk::passwordAccepted("", "x"));
    EXPECT_FALSE(zk::passwordAccepted("x", ""));
    EXPECT_FALSE(zk::passwordAccepted(std::string("a\0b", 3), "a"));
}

TEST(LoadPicture, DecodesAWholeJpegInItsOwnSize)
{
    AppFolder app;
    app.write("red.jpg", zk::test::jpegBytes(zk::test::solidImage(QColor(200, 30, 40), 80, 60)));
    const QImage image = zk::loadPicture(app.path("red.jpg"));
    ASSERT_EQ(image.size(), QSize(80, 60));
    EXPECT_TRUE(zk::test::nearColour(image.pixel(0, 0), QColor(200, 30, 40)));
    EXPECT_TRUE(zk::test::nearColour(image.pixel(79, 59), QColor(200, 30, 40)));
}

TEST(LoadPicture, TakesJpgAndJpegInAnyLetterCase)
{
    AppFolder app;
    const std::string bytes = zk::test::jpegBytes(zk::test::solidImage(Qt::green));
    for (const std::string name : {"a.jpg", "b.JPG", "c.jpeg", "d.JpEg", "e.f.jpg"}) {
        app.write(name, bytes);
        EXPECT_EQ(zk::loadPicture(app.path(name)).size(), QSize(64, 48)) << name;
    }
}

TEST(LoadPicture, RefusesOtherExtensionsBeforeOpening)
{
    AppFolder app;
    const std::string bytes = zk::test::jpegBytes(zk::test::solidImage(Qt::green));
    app.write("picture.png", bytes);
    app.write("picture.Bmp", bytes);
    app.write("noextension", bytes);
    EXPECT_EQ(loadError(app.path("picture.png")), "Unknown picture file extension (.png)");
    EXPECT_EQ(loadError(app.path("picture.Bmp")), "Unknown picture file extension (.Bmp)");
    EXPECT_EQ(loadError(app.path("noextension")), "Unknown picture file extension (.)");
    // The extension decides first, even for a file that is not there.
    EXPECT_EQ(loadError(app.path("missing.gif")), "Unknown picture file extension (.gif)");
    // A dot in a folder name is no extension.
    std::filesystem::create_directories(app.path("dir.jpg"));
    app.write("dir.jpg/plain", bytes);
    EXPECT_EQ(loadError(app.path("dir.jpg/plain")), "Unknown picture file extension (.)");
}

TEST(LoadPicture, MissingOrUnreadableFileGivesTheOpenError)
{
    AppFolder app;
    const std::string missing = app.path("image/none.jpg");
    EXPECT_EQ(loadError(missing), "Cannot open file \"" + missing + "\". No such file or directory");
    std::filesystem::create_directories(app.path("folder.jpg"));
    EXPECT_EQ(loadError(app.path("folder.jpg")), "Cannot open file \"" + app.path("folder.jpg") + "\". Is a directory");
}

TEST(LoadPicture, DecoderRejectionsCarryLibjpegsMessageCode)
{
    AppFolder app;
    const std::string good = zk::test::jpegBytes(zk::test::noisyImage(320, 240));
    app.write("empty.jpg", "");
    app.write("garbage.jpg", "this is no picture at all");
    app.write("truncated.jpg", good.substr(0, good.size() / 2));
    std::string badMarker = good;
    badMarker[3] = '\x01'; // the SOI marker is followed by something that is no marker
    badMarker[2] = '\x00';
    app.write("badmarker.jpg", badMarker);

    EXPECT_EQ(loadError(app.path("empty.jpg")), jpegErrorText(JERR_INPUT_EMPTY));
    EXPECT_EQ(loadError(app.path("garbage.jpg")), jpegErrorText(JERR_NO_SOI));
    // libjpeg only warns about a truncated file; here that is an error.
    EXPECT_EQ(loadError(app.path("truncated.jpg")), jpegErrorText(JWRN_JPEG_EOF));
    EXPECT_EQ(loadError(app.path("badmarker.jpg")).rfind("JPEG error #", 0), 0u);
}

TEST(SaveJpeg, WritesAFileThatLoadsAgainAndReportsAFolderThatIsNotThere)
{
    AppFolder app;
    zk::saveJpeg(zk::defaultBackgroundPicture(), app.path("image/1.jpg"));
    EXPECT_EQ(zk::loadPicture(app.path("image/1.jpg")).size(), QSize(zk::kPictureWidth, zk::kPictureHeight));

    const std::string nowhere = app.path("no/such/folder/x.jpg");
    try {
        zk::saveJpeg(zk::test::solidImage(Qt::red), nowhere);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const zk::AppError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + nowhere + "\". No such file or directory");
    }
}

TEST(Backdrop, BothPicturesHaveTheLoginWindowsSizeAndDiffer)
{
    const QImage builtIn = zk::builtInLoginPicture();
    const QImage background = zk::defaultBackgroundPicture();
    EXPECT_EQ(builtIn.size(), QSize(640, 480));
    EXPECT_EQ(background.size(), QSize(640, 480));
    EXPECT_NE(builtIn, background);
    EXPECT_EQ(builtIn, zk::builtInLoginPicture()); // drawn the same every time
}

TEST(LoadPicture, LargePicturesAreReducedAndHugeOnesRefused)
{
    using zk::test::flatGreyJpeg;
    using zk::test::JpegShape;
    AppFolder app;
    app.write("large.jpg", flatGreyJpeg(2000, 1500));
    const QImage reduced = zk::loadPicture(app.path("large.jpg"));
    EXPECT_EQ(reduced.size(), QSize(640, 480));
    EXPECT_TRUE(zk::test::nearColour(reduced.pixel(639, 479), QColor(128, 128, 128)));
    // Without a window to cover, the full size.
    const std::string bytes = flatGreyJpeg(2000, 1500);
    EXPECT_EQ(zk::decodeJpeg(std::vector<unsigned char>(bytes.begin(), bytes.end())).size(), QSize(2000, 1500));

    // Refused from the header alone: too many pixels even when reduced, or
    // a progressive picture whose coefficients alone pass libjpeg's memory limit.
    const std::string pixels = " pixels (at most 16 million pixels are decoded)";
    const struct {
        unsigned width, height;
        JpegShape shape;
        std::string error;
    } huge[] = {{65000, 65000, JpegShape::Header, "65000 x 65000" + pixels},
                {60000, 400, JpegShape::Header, "60000 x 400" + pixels},
                {20000, 20000, JpegShape::ProgressiveHeader,
                 "20000 x 20000 pixels (decoding it would need more than 100 MB)"}};
    for (const auto& h : huge) {
        app.write("huge.jpg", flatGreyJpeg(h.width, h.height, h.shape));
        EXPECT_EQ(loadError(app.path("huge.jpg")), "The picture is too large to show: " + h.error);
    }
    ASSERT_EQ(::mkfifo(app.path("pipe.jpg").c_str(), 0600), 0);
    EXPECT_EQ(loadError(app.path("pipe.jpg")), "Cannot open file \"" + app.path("pipe.jpg") + "\". It is a pipe, not a file");
}
