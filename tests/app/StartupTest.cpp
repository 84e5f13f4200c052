// The whole start: the real windows created in their order, the login
// handing over to the real main window, the dialogs opened from its tool
// bar and menu, and both ways the program ends.
#include "AppFolder.h"
#include "Backdrop.h"
#include "FakeUi.h"
#include "NoSerialPorts.h"
#include "ChannelFile.h"
#include "Startup.h"
#include "WaitUntil.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <memory>

using zk::test::AppFolder;
using zk::test::RecordingMessages;
using zk::test::ScriptedFileDialogs;

namespace {

class ProgramStart : public ::testing::Test {
protected:
    ProgramStart()
    {
        app.write("image/1.bc", "123456\r\n");
        app.write("image/2.bc", "Field Team\r\n");
        app.write("image/1.jpg", zk::test::jpegBytes(zk::test::solidImage(QColor(200, 120, 20), 640, 480)));
        // As in the program: hiding the login window must not end the loop.
        QApplication::setQuitOnLastWindowClosed(false);
    }
    ~ProgramStart() override { QApplication::setQuitOnLastWindowClosed(true); }

    Startup& startup()
    {
        if (!startup_)
            startup_ = std::make_unique<Startup>(messages, dialogs, [this] { ++programEnds; }, app.folder(),
                                                 zk::test::noSerialPorts());
        return *startup_;
    }

    void logIn(const char* password = "123456")
    {
        auto* field = startup().form1.findChild<QLineEdit*>(QStringLiteral("Edit1"));
        QTest::keyClicks(field, password);
        QTest::keyClick(field, Qt::Key_Return);
    }

    QWidget* toolButton(const char* actionName)
    {
        auto* action = startup().form2.findChild<QAction*>(QLatin1String(actionName));
        auto* bar = startup().form2.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        if (!action || !bar)
            return nullptr;
        return bar->widgetForAction(action);
    }

    // Runs script inside the modal dialog that the click opens, then checks
    // that the script closed it; a dialog left open is closed so the test
    // cannot hang.
    void clickIntoModal(QWidget* opener, QDialog& expected, const std::function<void(QDialog&)>& script)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            QWidget* modal = QApplication::activeModalWidget();
            EXPECT_EQ(modal, &expected);
            if (modal == &expected)
                script(expected);
            if (expected.isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                expected.reject();
            }
        });
        QTest::mouseClick(opener, Qt::LeftButton);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(expected.isVisible());
    }

    static void type(QDialog& dialog, const char* field, const char* text)
    {
        QTest::keyClicks(dialog.findChild<QLineEdit*>(QLatin1String(field)), text);
    }
    static void click(QDialog& dialog, const char* button)
    {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }

    // Runs the event loop as the program does; a watchdog ends it with 1 so
    // a path that fails to end the program fails the test instead of hanging.
    static int runEventLoop(const std::function<void()>& inside)
    {
        QTimer::singleShot(0, inside);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        watchdog.start(20000);
        return QApplication::exec();
    }

    AppFolder app;
    RecordingMessages messages;
    ScriptedFileDialogs dialogs;
    int programEnds = 0;
    std::unique_ptr<Startup> startup_;
};

} // namespace

TEST_F(ProgramStart, WindowsAreCreatedHiddenWithTheMainWindowReadyBeforeLogin)
{
    Startup& s = startup();
    EXPECT_FALSE(s.form1.isVisible());
    EXPECT_FALSE(s.form2.isVisible());
    EXPECT_FALSE(s.form3.isVisible());
    EXPECT_FALSE(s.form4.isVisible());
    // The main window's creation step has run: channel numbers and headers.
    EXPECT_EQ(s.form2.table().cell(0, 1), "1");
    EXPECT_EQ(s.form2.table().cell(0, 16), "16");
    EXPECT_EQ(s.form2.table().cell(1, 0), "RX Frequency");
    // The dialogs belong to the main window, which opens them.
    EXPECT_EQ(s.form3.parentWidget(), &s.form2);
    EXPECT_EQ(s.form4.parentWidget(), &s.form2);
    // Nothing is read before the login window is shown.
    EXPECT_EQ(s.form1.windowTitle(), "ZK-H41 Program Setting");
}

TEST_F(ProgramStart, LoginShowsTheMainWindowCaptionedWithTheTitle)
{
    Startup& s = startup();
    s.start();
    EXPECT_TRUE(s.form1.isVisible());
    EXPECT_EQ(s.form1.windowTitle(), "Field Team");
    EXPECT_FALSE(s.form2.isVisible());
    logIn();
    EXPECT_FALSE(s.form1.isVisible());
    EXPECT_TRUE(s.form2.isVisible());
    EXPECT_EQ(s.form2.windowTitle(), "Field Team[*]") << "with its place for the modified marker";
    EXPECT_TRUE(messages.errors().empty());
    EXPECT_EQ(programEnds, 0);
}

TEST_F(ProgramStart, APlanNamedOnTheCommandLineOpensAfterTheLogin)
{
    zk::ChannelTable plan;
    plan.setCell(zk::ColRx, 3, "146.00000");
    zk::saveChannelFile(app.path("site.bc"), plan);
    Startup& s = startup();
    s.form2.openWhenShown(app.path("site.bc"));
    s.start();
    QApplication::processEvents();
    EXPECT_EQ(s.form2.table().cell(zk::ColRx, 3), "");
    logIn();
    ASSERT_TRUE(zk::test::waitUntil([&] { return s.form2.table().cell(zk::ColRx, 3) == "146.00000"; }));
    EXPECT_FALSE(s.form2.isWindowModified());
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(ProgramStart, MissingPictureGivesOneErrorAndTheDesignCaptionOnBothWindows)
{
    std::filesystem::remove(app.path("image/1.jpg"));
    Startup& s = startup();
    s.start();
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"Cannot open file \"" + app.path("image/1.jpg")
                                                          + "\". No such file or directory."});
    EXPECT_EQ(zk::test::shownPicture(s.form1), zk::builtInLoginPicture().convertToFormat(QImage::Format_RGB32));
    logIn();
    EXPECT_TRUE(s.form2.isVisible());
    EXPECT_EQ(s.form1.windowTitle(), "ZK-H41 Program Setting");
    EXPECT_EQ(s.form2.windowTitle(), "ZK-H41 Program Setting[*]") << "with its place for the modified marker";
}

TEST_F(ProgramStart, RemarkFromTheToolBarSetsTheMainWindowsCaptionOnly)
{
    Startup& s = startup();
    s.start();
    logIn();
    clickIntoModal(toolButton("N13"), s.form4, [](QDialog& d) {
        type(d, "Edit1", "Night shift");
        click(d, "Button1");
    });
    EXPECT_EQ(s.form2.windowTitle(), "Night shift[*]") << "with its place for the modified marker";
    EXPECT_EQ(s.form1.windowTitle(), "Field Team"); // the hidden login keeps its caption
    EXPECT_EQ(app.read("image/2.bc"), "Night shift\r\n");

    // The menu item opens the same dialog, its field as it was left.
    bool sawKeptText = false;
    QTimer::singleShot(0, [&] {
        auto* field = s.form4.findChild<QLineEdit*>(QStringLiteral("Edit1"));
        sawKeptText = field && field->text() == "Night shift";
        click(s.form4, "Button2");
    });
    s.form2.findChild<QAction*>(QStringLiteral("N13"))->trigger();
    EXPECT_TRUE(sawKeptText);
    EXPECT_FALSE(s.form4.isVisible());
}

TEST_F(ProgramStart, ChangePasswordFromTheToolBarAndTheNextLoginNeedsTheNewOne)
{
    Startup& s = startup();
    s.start();
    logIn();
    clickIntoModal(toolButton("N14"), s.form3, [](QDialog& d) {
        type(d, "Edit1", "123456");
        type(d, "Edit2", "n3w");
        click(d, "Button1");
    });
    EXPECT_EQ(app.read("image/1.bc"), "n3w\r\n");
    EXPECT_EQ(app.mode("image/1.bc"), 0600u);
    EXPECT_TRUE(messages.notices().empty());

    // A second run of the program from the same folder.
    RecordingMessages nextMessages;
    Startup next(nextMessages, dialogs, [] {}, app.folder());
    next.start();
    auto* field = next.form1.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    QTest::keyClicks(field, "123456");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(nextMessages.notices(), std::vector<std::string>{"Password error!"});
    QTest::keyClicks(field, "n3w");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(next.form2.isVisible());
}

TEST_F(ProgramStart, ClosingTheLoginWindowWithYesEndsTheEventLoop)
{
    Startup s(messages, dialogs, &Startup::endEventLoop, app.folder(), zk::test::noSerialPorts());
    s.start();
    messages.answers = {true};
    EXPECT_EQ(runEventLoop([&] { s.form1.close(); }), 0);
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"Do you want to close?"});
}

TEST_F(ProgramStart, QuitFromTheMainWindowAnsweredYesEndsTheEventLoop)
{
    Startup s(messages, dialogs, &Startup::endEventLoop, app.folder(), zk::test::noSerialPorts());
    s.start();
    auto* field = s.form1.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    QTest::keyClicks(field, "123456");
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(s.form2.isVisible());
    messages.answers = {true};
    EXPECT_EQ(runEventLoop([&] { s.form2.findChild<QAction*>(QStringLiteral("N15"))->trigger(); }), 0);
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"Do you want to close?"});
}
