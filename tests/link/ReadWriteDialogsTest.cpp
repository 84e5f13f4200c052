// The read and write dialogs (TForm5, TForm6) of the running program against
// the virtual radio: the main window opens the radio's port at start, the
// user presses Read or Write in the dialogs, and the bytes on the wire are
// checked.
#include "Codec.h"
#include "FakeUi.h"
#include "HexText.h"
#include "NoSerialPorts.h"
#include "RadioImage.h"
#include "RadioMemory.h"
#include "Startup.h"
#include "VirtualRadio.h"
#include "WaitUntil.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

using zk::ColDecode;
using zk::ColEncode;
using zk::ColRx;
using zk::ColTx;

const std::string kHandshake = "50524F4752414D";

class ReadWriteDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        radio.start();
        QApplication::setQuitOnLastWindowClosed(false);
        startup = std::make_unique<Startup>(messages, dialogs, [] {}, folder.path().toStdString() + "/",
                                            zk::test::noSerialPorts({radio.path(), "/nonexistent/port"}));
        form2().onQuit = [this] { ++quits; };
    }
    void TearDown() override
    {
        startup.reset();
        radio.stop();
        QApplication::setQuitOnLastWindowClosed(true);
    }

    TForm2& form2() { return startup->form2; }
    TForm5& form5() { return startup->form5; }
    TForm6& form6() { return startup->form6; }
    QString status() { return form2().portStatusText(); }
    std::string wire() const { return zk::toHexText(radio.received()); }

    // The user's way to Read and Write: the tool-bar buttons of N6 and N7.
    void clickToolButton(const char* actionName)
    {
        auto* action = form2().findChild<QAction*>(QLatin1String(actionName));
        auto* bar = form2().findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        ASSERT_TRUE(action && bar);
        QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
    }
    // Runs the whole transfer: the click returns when the procedure ends.
    void press(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    void loadRadio(const zk::ChannelTable& plan) { zk::test::loadPlanIntoRadio(radio, plan); }

    void pickPort(int index)
    {
        auto* list = form2().findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        list->setCurrentIndex(index);
        emit list->activated(index); // what a pick in the drop-down list sends
    }

    VirtualRadio radio;
    QTemporaryDir folder; // the program's folder
    zk::test::RecordingMessages messages;
    zk::test::ScriptedFileDialogs dialogs;
    std::unique_ptr<Startup> startup;
    int quits = 0;
};

zk::ChannelTable plan()
{
    zk::ChannelTable t;
    t.setCell(ColRx, 1, "146.25000");
    t.setCell(ColTx, 1, "146.85000");
    t.setCell(ColDecode, 1, "88.5HZ");
    t.setCell(ColEncode, 1, "88.5HZ");
    t.setCell(zk::ColPower, 1, "High");
    t.setCell(zk::ColBandwidth, 1, "Wide");
    t.setCell(ColRx, 12, "446.00625");
    t.setCell(ColTx, 12, "446.00625");
    t.setSetting(1, 8);
    return t;
}

} // namespace

TEST_F(ReadWriteDialogs, ReadFillsTheGridReportsSuccessAndClosesTheDialog)
{
    loadRadio(plan());
    clickToolButton("N6");
    ASSERT_TRUE(form5().isVisible());
    EXPECT_EQ(form5().ProgressBar1->value(), 0);

    press(form5().Button1);

    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Read Success!"});
    EXPECT_FALSE(form5().isVisible());
    EXPECT_EQ(form5().ProgressBar1->value(), 5);
    EXPECT_EQ(form2().table().cell(ColTx, 1), "146.85000");
    EXPECT_EQ(form2().table().cell(ColDecode, 1), "88.5HZ");
    EXPECT_EQ(form2().table().cell(ColRx, 12), "446.00625");
    EXPECT_EQ(form2().table().setting(1), 8);
    EXPECT_EQ(form2().table().band(), 4); // inferred from row 12
    ASSERT_TRUE(zk::test::waitUntil([&] { return wire().size() >= 2 * (7u + 5 * 4 + 1); }));
    EXPECT_EQ(wire().substr(wire().size() - 2), "45");

    // Shown again: the bar starts at 0.
    clickToolButton("N6");
    EXPECT_EQ(form5().ProgressBar1->value(), 0);
}

TEST_F(ReadWriteDialogs, PressesDuringATransferDoNotStartAnother)
{
    loadRadio(plan());
    clickToolButton("N6");
    clickToolButton("N7");
    QTimer::singleShot(700, [this] {
        press(form6().Button1);
        press(form5().Button1);
    });
    press(form5().Button1);

    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Read Success!"});
    ASSERT_TRUE(zk::test::waitUntil([&] { return wire().size() >= 2 * (7u + 5 * 4 + 1); }));
    EXPECT_EQ(wire().find(kHandshake, 1), std::string::npos) << "a second transfer began";
    EXPECT_TRUE(form6().isVisible()); // its press was ignored, not run
}

TEST_F(ReadWriteDialogs, ARadioFallingSilentGivesReadErrorAndKeepsLaterRows)
{
    loadRadio(plan());
    RadioFaults faults;
    faults.silentAfter = 2;
    radio.setFaults(faults);
    form2().table().setCell(ColRx, 12, "150.00000");
    clickToolButton("N6");

    press(form5().Button1);

    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Read Error!"});
    EXPECT_FALSE(form5().isVisible());
    EXPECT_EQ(form5().ProgressBar1->value(), 2);
    EXPECT_EQ(form2().table().cell(ColRx, 1), "146.25000");
    EXPECT_EQ(form2().table().cell(ColRx, 12), "150.00000");
    EXPECT_EQ(wire().find("45", wire().size() - 2), std::string::npos);
}

TEST_F(ReadWriteDialogs, ABadDigitShowsTheErrorAndLeavesTheDialogOpen)
{
    RadioFaults faults;
    faults.badDigitChannel = 2;
    radio.setFaults(faults);
    clickToolButton("N6");

    press(form5().Button1);

    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_NE(messages.errors()[0].find("is not a valid floating point value."), std::string::npos);
    EXPECT_TRUE(messages.notices().empty());
    EXPECT_TRUE(form5().isVisible());
    EXPECT_EQ(form5().ProgressBar1->value(), 1);
}

TEST_F(ReadWriteDialogs, PortNotReadySendsNothingAndKeepsTheDialogsOpen)
{
    pickPort(1);
    clickToolButton("N6");
    press(form5().Button1);
    clickToolButton("N7");
    press(form6().Button1);

    EXPECT_EQ(messages.notices(), (std::vector<std::string>{"The Port is Used!", "The Port is used!"}));
    EXPECT_TRUE(form5().isVisible());
    EXPECT_TRUE(form6().isVisible());
    QTest::qWait(200);
    EXPECT_TRUE(radio.received().empty());
}

TEST_F(ReadWriteDialogs, WriteLeavesTheGridInTheRadio)
{
    const zk::ChannelTable p = plan();
    for (int r = 1; r <= zk::kChannels; ++r)
        for (int c = 1; c < zk::kColumns; ++c)
            form2().table().setCell(c, r, p.cell(c, r));
    form2().table().setSetting(1, 8);
    clickToolButton("N7");

    press(form6().Button1);

    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Write Success!"});
    EXPECT_FALSE(form6().isVisible());
    EXPECT_EQ(form6().ProgressBar1->value(), 5);
    std::string records;
    for (int row = 1; row <= zk::kChannels; ++row)
        records += zk::encodeChannelRecord(form2().table(), row);
    EXPECT_EQ(zk::toHexText(radio.readMemory(0x10, 256)), records);
    EXPECT_EQ(zk::toHexText(radio.readMemory(0x12F, 16)), zk::encodeSettingsRecord(form2().table()));
}

TEST_F(ReadWriteDialogs, EnterStartsTheTransferOfEitherDialog)
{
    loadRadio(plan());
    clickToolButton("N6");
    form5().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form5()));
    EXPECT_TRUE(form5().Button1->isDefault());
    QTest::keyClick(&form5(), Qt::Key_Return);
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Read Success!"});
    EXPECT_EQ(form2().table().cell(ColRx, 12), "446.00625");

    form2().table().setCell(ColTx, 12, "447.00000");
    clickToolButton("N7");
    form6().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form6()));
    form6().Button2->setFocus(); // Enter still means the transfer, not Cancel
    QTest::keyClick(form6().Button2, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(messages.notices(), (std::vector<std::string>{"Read Success!", "Write Success!"}));
    EXPECT_EQ(zk::toHexText(radio.readMemory(0x10 + 11 * 16, 16)), zk::encodeChannelRecord(form2().table(), 12));
}

TEST_F(ReadWriteDialogs, WriteOfACellWithoutEncodingSendsNothing)
{
    form2().table().setCell(ColRx, 3, "145.00000");
    form2().table().setCell(ColEncode, 3, "88.5"); // as a damaged file can bring it
    clickToolButton("N7");

    press(form6().Button1);

    EXPECT_EQ(messages.errors(),
              std::vector<std::string>{"Channel 3, QT/DQT Enc: \"88.5\" cannot be stored in the radio."});
    EXPECT_TRUE(messages.notices().empty());
    EXPECT_TRUE(form6().isVisible());
    QTest::qWait(200);
    EXPECT_TRUE(radio.received().empty());
}

TEST_F(ReadWriteDialogs, ChangingASettingDuringAReadLeavesAWorkingPort)
{
    loadRadio(plan());
    clickToolButton("N6");
    auto* c1 = form2().findChild<QComboBox*>(QStringLiteral("c1"));
    QTimer::singleShot(650, [c1] {
        c1->setCurrentIndex(2);
        emit c1->activated(2); // the pick closes and reopens the port
    });
    press(form5().Button1);
    ASSERT_EQ(messages.notices().size(), 1u); // the read ended one way or the other
    EXPECT_EQ(status().toStdString(), "Serial Port:" + radio.path());

    messages.clear();
    clickToolButton("N6");
    press(form5().Button1);
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Read Success!"});
}

TEST_F(ReadWriteDialogs, QuittingDuringATransferStopsItWithoutSendingMore)
{
    clickToolButton("N7");
    messages.answers = {true};
    std::size_t wireAtQuit = 0;
    QTimer::singleShot(800, [&] {
        wireAtQuit = radio.received().size();
        form2().findChild<QAction*>(QStringLiteral("N15"))->trigger();
    });

    press(form6().Button1);

    EXPECT_EQ(quits, 1);
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"Do you want to close?"});
    EXPECT_TRUE(messages.notices().empty()); // no "Write Error!" on the way out
    QTest::qWait(300);
    // At most the block being sent when Quit was answered reaches the line.
    EXPECT_LE(radio.received().size(), wireAtQuit + 68);
}

// The main window shown, a frequency typed into row 1 without Enter, and
// the focus gone to the write or read dialog.
class DialogsWithAnOpenEdit : public ReadWriteDialogs {
protected:
    void typeIntoRow1(const char* text)
    {
        form2().show();
        form2().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form2()));
        auto* grid = form2().findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid->visualRect(grid->model()->index(1, ColRx)).center());
        box = form2().findChild<QLineEdit*>(QStringLiteral("t1"));
        ASSERT_EQ(QApplication::focusWidget(), box);
        QTest::keyClicks(box, QLatin1String(text));
    }
    QLineEdit* box = nullptr;
};

TEST_F(DialogsWithAnOpenEdit, WriteSendsTheFrequencyStillBeingTyped)
{
    clickToolButton("N7");
    typeIntoRow1("150");
    form6().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form6()));
    ASSERT_TRUE(box->isVisible()) << "the other window took the focus without ending the edit";

    press(form6().Button1);

    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Write Success!"});
    EXPECT_EQ(form2().table().cell(ColRx, 1), "150.00000");
    EXPECT_EQ(zk::toHexText(radio.readMemory(0x10, 16)), zk::encodeChannelRecord(form2().table(), 1));
}

TEST_F(DialogsWithAnOpenEdit, ARefusedEntryStopsTheWriteBeforeAnythingIsSent)
{
    typeIntoRow1("999");
    clickToolButton("N7");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"RX Frequency in 136MHZ~174MHZ"});
    EXPECT_FALSE(form6().isVisible()) << "Write did not run";

    typeIntoRow1("1..5");
    form6().show();
    press(form6().Button1);
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"'1..500000' is not a valid floating point value."});
    EXPECT_EQ(messages.notices().size(), 1u) << "no outcome of a write";
    QTest::qWait(200);
    EXPECT_TRUE(radio.received().empty());
}

TEST_F(DialogsWithAnOpenEdit, ReadDropsTheOpenEditAndIsUndoneInOneStep)
{
    loadRadio(plan());
    typeIntoRow1("150");
    clickToolButton("N6");
    press(form5().Button1);
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Read Success!"});
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->text(), "");
    EXPECT_EQ(form2().table().cell(ColRx, 1), "146.25000");
    EXPECT_EQ(form2().table().band(), 4);

    form2().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form2()));
    QTest::keyClick(&form2(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form2().table().cell(ColRx, 1), "") << "the typing never reached the table";
    EXPECT_EQ(form2().table().cell(ColRx, 12), "");
    EXPECT_EQ(form2().table().band(), 1);
    EXPECT_EQ(form2().table().setting(1), 0);
}
