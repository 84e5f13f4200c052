// The login window driven offscreen with mouse and keyboard against real
// files in a temporary application folder.
#include "AppFolder.h"
#include "Backdrop.h"
#include "FakeUi.h"
#include "FlatJpeg.h"
#include "main.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
#include <sys/resource.h>

using zk::test::AppFolder;
using zk::test::RecordingMessages;
using zk::test::ScriptedFileDialogs;

namespace {

const QColor kFileColour(30, 160, 60);

class LoginWindow : public ::testing::Test {
protected:
    LoginWindow()
    {
        app.write("image/1.bc", "123456\r\n");
        app.write("image/2.bc", "My Radio\r\nsecond line\r\n");
        app.write("image/1.jpg", zk::test::jpegBytes(zk::test::solidImage(kFileColour, 320, 240)));
    }

    // Created after the test has arranged its files; showing it runs FormShow.
    TForm1& form()
    {
        if (!form_) {
            form_ = std::make_unique<TForm1>(messages, dialogs, app.folder());
            form_->setMainWindow(&mainWindow);
            form_->onCloseAccepted = [this] { ++programEnds; };
            form_->show();
        }
        return *form_;
    }

    QLineEdit* edit() { return form().findChild<QLineEdit*>(QStringLiteral("Edit1")); }
    QPushButton* button(const char* name) { return form().findChild<QPushButton*>(QLatin1String(name)); }

    void typeAndRun(const QString& text)
    {
        edit()->clear();
        QTest::keyClicks(edit(), text);
        QTest::mouseClick(button("Button1"), Qt::LeftButton);
    }

    bool loggedIn() { return mainWindow.isVisible() && !form().isVisible(); }

    AppFolder app;
    RecordingMessages messages;
    ScriptedFileDialogs dialogs;
    QWidget mainWindow; // stands in for the main window: caption and visibility
    int programEnds = 0;
    std::unique_ptr<TForm1> form_;
};

} // namespace

TEST_F(LoginWindow, HasItsControlsTextsAndSize)
{
    TForm1& f = form();
    EXPECT_EQ(f.size(), QSize(640, 480));
    const auto* image = f.findChild<QLabel*>(QStringLiteral("Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->geometry(), QRect(0, 0, 640, 480));
    EXPECT_TRUE(image->hasScaledContents());
    const auto* label = f.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "PassWord:");
    EXPECT_FALSE(label->autoFillBackground());
    ASSERT_NE(edit(), nullptr);
    EXPECT_EQ(edit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(zk::test::nextInTabOrder(edit()), button("Button1"));
    EXPECT_EQ(zk::test::nextInTabOrder(button("Button1")), button("Button2"));
    EXPECT_EQ(button("Button1")->text(), "Run");
    EXPECT_EQ(button("Button2")->text(), "Change Backgound");
    EXPECT_TRUE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(LoginWindow, ShowLoadsPictureAndTitle)
{
    TForm1& f = form();
    EXPECT_EQ(f.windowTitle(), "My Radio");
    const QImage shown = zk::test::shownPicture(f);
    EXPECT_EQ(shown.size(), QSize(320, 240));
    EXPECT_TRUE(zk::test::nearColour(shown.pixel(100, 100), kFileColour));
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(LoginWindow, TitleIsTheFirstLineAsStoredEvenEmpty)
{
    for (const std::string& content : {std::string("  spaced  \rnext"), std::string("\r\nsecond")}) {
        app.write("image/2.bc", content);
        RecordingMessages fresh;
        TForm1 f(fresh, dialogs, app.folder());
        f.show();
        EXPECT_EQ(f.windowTitle().toStdString(), content.substr(0, content.find('\r')));
        EXPECT_TRUE(fresh.entries.empty());
    }
}

TEST_F(LoginWindow, MissingPictureShowsOneErrorKeepsBuiltInPictureAndDesignCaption)
{
    std::filesystem::remove(app.path("image/1.jpg"));
    TForm1& f = form();
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.errors().at(0),
              "Cannot open file \"" + app.path("image/1.jpg") + "\". No such file or directory.");
    EXPECT_EQ(zk::test::shownPicture(f), zk::builtInLoginPicture().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(f.windowTitle(), "ZK-H41 Program Setting");

    typeAndRun("123456");
    ASSERT_TRUE(loggedIn());
    EXPECT_EQ(mainWindow.windowTitle(), "ZK-H41 Program Setting");
}

TEST_F(LoginWindow, UndecodablePictureIsTreatedAsMissing)
{
    app.write("image/1.jpg", "GIF89a not a jpeg");
    TForm1& f = form();
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"JPEG error #" + std::to_string(JERR_NO_SOI) + "."});
    EXPECT_EQ(zk::test::shownPicture(f), zk::builtInLoginPicture().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(f.windowTitle(), "ZK-H41 Program Setting");
}

TEST_F(LoginWindow, MissingOrLinelessTitleKeepsDesignCaptionButShowsThePicture)
{
    std::filesystem::remove(app.path("image/2.bc"));
    {
        TForm1& f = form();
        EXPECT_EQ(messages.errors(), std::vector<std::string>{"Cannot open file \"" + app.path("image/2.bc")
                                                              + "\". No such file or directory."});
        EXPECT_EQ(f.windowTitle(), "ZK-H41 Program Setting");
        EXPECT_TRUE(zk::test::nearColour(zk::test::shownPicture(f).pixel(10, 10), kFileColour));
    }
    for (const std::string& lineless : {std::string(), std::string("\0title", 6)}) {
        app.write("image/2.bc", lineless);
        RecordingMessages fresh;
        TForm1 f(fresh, dialogs, app.folder());
        f.show();
        EXPECT_EQ(fresh.errors(), std::vector<std::string>{"List index out of bounds (0)"});
        EXPECT_EQ(f.windowTitle(), "ZK-H41 Program Setting");
    }
}

TEST_F(LoginWindow, RightPasswordHidesLoginAndShowsMainWindowWithTheTitle)
{
    mainWindow.setWindowTitle("design caption of the main window");
    form();
    EXPECT_FALSE(mainWindow.isVisible());
    typeAndRun("123456");
    EXPECT_TRUE(loggedIn());
    EXPECT_EQ(mainWindow.windowTitle(), "My Radio");
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(LoginWindow, EnterInThePasswordFieldRunsTheCheck)
{
    form();
    QTest::keyClicks(edit(), "12345");
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Password error!"});
    EXPECT_EQ(edit()->text(), "");
    EXPECT_FALSE(loggedIn());

    QTest::keyClicks(edit(), "123456");
    QTest::keyClick(edit(), Qt::Key_Enter); // the keypad's Enter too
    EXPECT_TRUE(loggedIn());
}

TEST_F(LoginWindow, ComparisonIsExactInCaseAndSpaces)
{
    app.write("image/1.bc", "Secret\r\n");
    form();
    for (const char* wrong : {"secret", "SECRET", " Secret", "Secret ", "Secret  ", ""}) {
        messages.clear();
        typeAndRun(wrong);
        EXPECT_EQ(messages.notices(), std::vector<std::string>{"Password error!"}) << wrong;
        EXPECT_EQ(edit()->text(), "") << wrong;
        EXPECT_FALSE(loggedIn()) << wrong;
    }
    app.write("image/1.bc", "Secret \r\n"); // a stored trailing space must be typed
    messages.clear();
    typeAndRun("Secret");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Password error!"});
    typeAndRun("Secret ");
    EXPECT_TRUE(loggedIn());
}

TEST_F(LoginWindow, EveryLineEndGivesTheSameFirstLine)
{
    for (const std::string& content : {std::string("pw\rother"), std::string("pw\nother"),
                                       std::string("pw\r\nother\r\n"), std::string("pw")}) {
        app.write("image/1.bc", content);
        QWidget main;
        RecordingMessages fresh;
        TForm1 f(fresh, dialogs, app.folder());
        f.setMainWindow(&main);
        f.show();
        auto* field = f.findChild<QLineEdit*>(QStringLiteral("Edit1"));
        QTest::keyClicks(field, "pw");
        QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        EXPECT_TRUE(main.isVisible()) << content;
        EXPECT_TRUE(fresh.entries.empty()) << content;
    }
}

TEST_F(LoginWindow, EmptyFirstLineLetsOnlyAnEmptyFieldIn)
{
    app.write("image/1.bc", "\r\nignored");
    form();
    typeAndRun("x");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Password error!"});
    typeAndRun("");
    EXPECT_TRUE(loggedIn());
}

TEST_F(LoginWindow, EachPressReadsThePasswordFileAfresh)
{
    form();
    typeAndRun("654321");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Password error!"});
    app.write("image/1.bc", "654321\r\n");
    typeAndRun("654321");
    EXPECT_TRUE(loggedIn());
}

TEST_F(LoginWindow, MissingOrLinelessPasswordFileKeepsTheField)
{
    std::filesystem::remove(app.path("image/1.bc"));
    form();
    typeAndRun("123456");
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"Cannot open file \"" + app.path("image/1.bc")
                                                          + "\". No such file or directory."});
    EXPECT_EQ(edit()->text(), "123456");
    EXPECT_TRUE(messages.notices().empty());
    EXPECT_FALSE(loggedIn());

    app.write("image/1.bc", "");
    messages.clear();
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"List index out of bounds (0)"});
    EXPECT_EQ(edit()->text(), "123456");
    EXPECT_FALSE(loggedIn());
}

TEST_F(LoginWindow, ClosingAsksAndOnlyYesEndsTheProgram)
{
    TForm1& f = form();
    QTest::keyClicks(edit(), "half typed");
    messages.answers = {false};
    EXPECT_FALSE(f.close());
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"Do you want to close?"});
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(edit()->text(), "half typed");
    EXPECT_EQ(programEnds, 0);

    messages.answers = {true};
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(programEnds, 1);
}

TEST_F(LoginWindow, ChangeBackgroundShowsAndStoresAGoodJpeg)
{
    TForm1& f = form();
    const QColor blue(20, 40, 220);
    const std::string chosen = zk::test::jpegBytes(zk::test::solidImage(blue, 100, 50));
    app.write("chosen.jpg", chosen);
    dialogs.answers = {app.path("chosen.jpg")};
    QTest::mouseClick(button("Button2"), Qt::LeftButton);

    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_FALSE(dialogs.requests[0].save);
    EXPECT_EQ(dialogs.requests[0].title, "Open");
    EXPECT_EQ(dialogs.requests[0].filter, "*.jpg");
    EXPECT_TRUE(messages.entries.empty());
    const QImage shown = zk::test::shownPicture(f);
    EXPECT_EQ(shown.size(), QSize(100, 50));
    EXPECT_TRUE(zk::test::nearColour(shown.pixel(50, 25), blue));
    EXPECT_EQ(app.read("image/1.jpg"), chosen); // byte for byte
    EXPECT_EQ(app.imageEntries(), (std::vector<std::string>{"1.bc", "1.jpg", "2.bc"}));
}

TEST_F(LoginWindow, ChangeBackgroundCancelledChangesNothing)
{
    TForm1& f = form();
    const std::string before = app.read("image/1.jpg");
    const QImage shownBefore = zk::test::shownPicture(f);
    dialogs.answers = {std::nullopt};
    QTest::mouseClick(button("Button2"), Qt::LeftButton);
    EXPECT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_EQ(zk::test::shownPicture(f), shownBefore);
    EXPECT_EQ(app.read("image/1.jpg"), before);
}

TEST_F(LoginWindow, ChangeBackgroundRefusesBrokenJpegsAndOtherKinds)
{
    TForm1& f = form();
    const std::string before = app.read("image/1.jpg");
    const QImage shownBefore = zk::test::shownPicture(f);
    const std::string good = zk::test::jpegBytes(zk::test::noisyImage(200, 150));
    app.write("truncated.jpg", good.substr(0, good.size() / 3));
    app.write("garbage.jpg", "\x89PNG garbage garbage");
    app.write("picture.png", good);
    app.write("huge.jpg", zk::test::flatGreyJpeg(65000, 65000, zk::test::JpegShape::Header));
    ASSERT_EQ(::mkfifo(app.path("pipe.jpg").c_str(), 0600), 0);

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"truncated.jpg", "JPEG error #" + std::to_string(JWRN_JPEG_EOF) + "."},
        {"garbage.jpg", "JPEG error #" + std::to_string(JERR_NO_SOI) + "."},
        {"picture.png", "Unknown picture file extension (.png)"},
        {"huge.jpg", "The picture is too large to show: 65000 x 65000 pixels (at most 16 million pixels are decoded)"},
        {"pipe.jpg", "Cannot open file \"" + app.path("pipe.jpg") + "\". It is a pipe, not a file."},
    };
    for (const auto& [name, error] : cases) {
        messages.clear();
        dialogs.answers = {app.path(name)};
        QTest::mouseClick(button("Button2"), Qt::LeftButton);
        EXPECT_EQ(messages.errors(), std::vector<std::string>{error}) << name;
        EXPECT_EQ(zk::test::shownPicture(f), shownBefore) << name;
        EXPECT_EQ(app.read("image/1.jpg"), before) << name;
    }
}

TEST_F(LoginWindow, AFailedCopyIsSilentAndLeavesTheOldPictureWhole)
{
    TForm1& f = form();
    const std::string before = app.read("image/1.jpg");
    const std::string bigger = zk::test::jpegBytes(zk::test::noisyImage(400, 300));
    ASSERT_GT(bigger.size(), 4096u);
    app.write("big.jpg", bigger);
    dialogs.answers = {app.path("big.jpg")};

    // A file-size limit makes the copy's write fail part way, as a full
    // disk would; the test runs as any user, root included.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QTest::mouseClick(button("Button2"), Qt::LeftButton);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(messages.entries.empty());
    EXPECT_EQ(zk::test::shownPicture(f).size(), QSize(400, 300)); // shown for this run
    EXPECT_EQ(app.read("image/1.jpg"), before);
    EXPECT_EQ(app.imageEntries(), (std::vector<std::string>{"1.bc", "1.jpg", "2.bc"}));
}

TEST_F(LoginWindow, APipeAsTheBackgroundCannotStopTheStart)
{
    // Opening a pipe to read waits for a writer: the start would never end.
    std::filesystem::remove(app.path("image/1.jpg"));
    ASSERT_EQ(::mkfifo(app.path("image/1.jpg").c_str(), 0600), 0);
    TForm1& f = form();
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"Cannot open file \"" + app.path("image/1.jpg") +
                                                          "\". It is a pipe, not a file."});
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.windowTitle(), "ZK-H41 Program Setting");
}
