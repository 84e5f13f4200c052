// The change-password and remark dialogs, driven offscreen against real
// side files in a temporary application folder.
#include "AppFolder.h"
#include "FakeUi.h"
#include "beizhu.h"
#include "password.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using zk::test::AppFolder;
using zk::test::RecordingMessages;

namespace {

template <typename Dialog>
class DialogTest : public ::testing::Test {
protected:
    QLineEdit* edit(const char* name) { return dialog.template findChild<QLineEdit*>(QLatin1String(name)); }
    QPushButton* button(const char* name) { return dialog.template findChild<QPushButton*>(QLatin1String(name)); }
    QLabel* label(const char* name) { return dialog.template findChild<QLabel*>(QLatin1String(name)); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    // open() shows it window-modal without a nested loop, so the test drives it.
    void open()
    {
        dialog.open();
        ASSERT_TRUE(dialog.isVisible());
    }

    AppFolder app;
    RecordingMessages messages;
    Dialog dialog{messages, app.folder()};
};

class ChangePassword : public DialogTest<TForm3> {
protected:
    ChangePassword() { app.write("image/1.bc", "Old pw\r\nmore\r\n"); }
};

class Remark : public DialogTest<TForm4> {
protected:
    Remark()
    {
        app.write("image/2.bc", "Old title\r\n");
        mainWindow.setWindowTitle("Old title");
        dialog.setMainWindow(&mainWindow);
    }
    QWidget mainWindow;
};

} // namespace

TEST_F(ChangePassword, HasItsControlsTextsAndSize)
{
    EXPECT_EQ(dialog.windowTitle(), "Change password");
    EXPECT_EQ(dialog.size(), QSize(321, 186));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                                         | Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(label("Label1")->text(), "Old Password:");
    EXPECT_EQ(label("Label2")->text(), "NEW Password:");
    EXPECT_EQ(edit("Edit1")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit("Edit2")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(button("Button1")->text(), "Modify");
    EXPECT_EQ(button("Button2")->text(), "Cancel");
    EXPECT_EQ(zk::test::nextInTabOrder(edit("Edit1")), edit("Edit2"));
    EXPECT_EQ(zk::test::nextInTabOrder(edit("Edit2")), button("Button1"));
    EXPECT_EQ(zk::test::nextInTabOrder(button("Button1")), button("Button2"));
}

TEST_F(ChangePassword, WrongOldPasswordStaysOpenAndWritesNothing)
{
    open();
    for (const char* wrong : {"old pw", "Old pw ", "Old", ""}) {
        messages.clear();
        edit("Edit1")->setText(QString());
        QTest::keyClicks(edit("Edit1"), wrong);
        edit("Edit2")->setText(QString());
        QTest::keyClicks(edit("Edit2"), "new");
        click("Button1");
        EXPECT_EQ(messages.notices(), std::vector<std::string>{"Password error!"}) << wrong;
        EXPECT_TRUE(dialog.isVisible()) << wrong;
        EXPECT_EQ(edit("Edit1")->text(), wrong);
        EXPECT_EQ(edit("Edit2")->text(), "new");
        EXPECT_EQ(app.read("image/1.bc"), "Old pw\r\nmore\r\n");
    }
}

TEST_F(ChangePassword, RightOldPasswordWritesTheNewOneOwnerOnlyAndCloses)
{
    open();
    QTest::keyClicks(edit("Edit1"), "Old pw");
    QTest::keyClicks(edit("Edit2"), "New pw ");
    click("Button1");
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(app.read("image/1.bc"), "New pw \r\n");
    EXPECT_EQ(app.mode("image/1.bc"), 0600u);
    EXPECT_EQ(app.imageEntries(), (std::vector<std::string>{"1.bc"}));
}

TEST_F(ChangePassword, EmptyNewPasswordLeavesOnlyTheLineEndAndFieldsAreKept)
{
    open();
    QTest::keyClicks(edit("Edit1"), "Old pw");
    click("Button1");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(app.read("image/1.bc"), "\r\n");
    EXPECT_EQ(app.mode("image/1.bc"), 0600u);

    // Reopened, it shows what was typed last time.
    open();
    EXPECT_EQ(edit("Edit1")->text(), "Old pw");
    EXPECT_EQ(edit("Edit2")->text(), "");
    // The old password is now the empty line.
    click("Button1");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Password error!"});
    edit("Edit1")->clear();
    QTest::keyClicks(edit("Edit2"), "again");
    click("Button1");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(app.read("image/1.bc"), "again\r\n");
}

TEST_F(ChangePassword, MissingOrLinelessFileAndUnwritableFolderKeepItOpen)
{
    std::filesystem::remove(app.path("image/1.bc"));
    open();
    QTest::keyClicks(edit("Edit1"), "Old pw");
    click("Button1");
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"Cannot open file \"" + app.path("image/1.bc")
                                                          + "\". No such file or directory."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(app.exists("image/1.bc"));

    app.write("image/1.bc", "");
    messages.clear();
    click("Button1");
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"List index out of bounds (0)"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(app.read("image/1.bc"), "");
}

TEST_F(ChangePassword, CancelEnterAndEscape)
{
    open();
    QTest::keyClicks(edit("Edit1"), "Old pw");
    QTest::keyClicks(edit("Edit2"), "typed");
    // Neither key presses a button or closes the dialog.
    for (auto* target : std::vector<QWidget*>{edit("Edit1"), edit("Edit2"), button("Button1"), button("Button2")}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible()) << target->objectName().toStdString();
    }
    EXPECT_EQ(app.read("image/1.bc"), "Old pw\r\nmore\r\n");
    EXPECT_TRUE(messages.entries.empty());

    click("Button2");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(app.read("image/1.bc"), "Old pw\r\nmore\r\n");
    open();
    EXPECT_EQ(edit("Edit2")->text(), "typed");
    EXPECT_TRUE(dialog.close()); // the close box
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(app.read("image/1.bc"), "Old pw\r\nmore\r\n");
}

TEST_F(Remark, HasItsControlsTextsAndSize)
{
    EXPECT_EQ(dialog.windowTitle(), "Remark");
    EXPECT_EQ(dialog.size(), QSize(318, 136));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(label("Label1")->text(), "SET Title:");
    EXPECT_EQ(edit("Edit1")->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(edit("Edit1")->text(), ""); // not filled with the current title
    EXPECT_EQ(button("Button1")->text(), "Modify");
    EXPECT_EQ(button("Button2")->text(), "Cancel");
    EXPECT_EQ(zk::test::nextInTabOrder(edit("Edit1")), button("Button1"));
}

TEST_F(Remark, EmptyTitleIsRefused)
{
    open();
    click("Button1");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Title Empty!"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(app.read("image/2.bc"), "Old title\r\n");
    EXPECT_EQ(mainWindow.windowTitle(), "Old title");
}

TEST_F(Remark, TitleIsWrittenThenShownAsTheMainWindowsCaption)
{
    open();
    QTest::keyClicks(edit("Edit1"), "Base camp");
    click("Button1");
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(app.read("image/2.bc"), "Base camp\r\n");
    EXPECT_EQ(mainWindow.windowTitle(), "Base camp");
}

TEST_F(Remark, SpacesOnlyTitleIsATitle)
{
    open();
    QTest::keyClicks(edit("Edit1"), "   ");
    click("Button1");
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_EQ(app.read("image/2.bc"), "   \r\n");
    EXPECT_EQ(mainWindow.windowTitle(), "   ");
}

TEST_F(Remark, CancelKeepsTheTextForNextTime)
{
    open();
    QTest::keyClicks(edit("Edit1"), "Draft");
    QTest::keyClick(edit("Edit1"), Qt::Key_Return);
    QTest::keyClick(edit("Edit1"), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    click("Button2");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(app.read("image/2.bc"), "Old title\r\n");
    EXPECT_EQ(mainWindow.windowTitle(), "Old title");
    open();
    EXPECT_EQ(edit("Edit1")->text(), "Draft");
}

TEST_F(Remark, UnwritableTitleFileKeepsItOpenAndTheCaption)
{
    // A folder where the file should be cannot be replaced by a file.
    std::filesystem::remove(app.path("image/2.bc"));
    std::filesystem::create_directories(app.path("image/2.bc/inside"));
    open();
    QTest::keyClicks(edit("Edit1"), "New");
    click("Button1");
    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_EQ(messages.errors()[0].rfind("Cannot create file \"" + app.path("image/2.bc") + "\". ", 0), 0u)
        << messages.errors()[0];
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(mainWindow.windowTitle(), "Old title");
}
