// The window's own radio commands and its port choice against the virtual
// radio: Verify, Backup Radio and Restore Radio in the Edit menu, with the
// bytes on the wire and the files in a temporary folder checked.
#include "Codec.h"
#include "FakeUi.h"
#include "HexText.h"
#include "NoSerialPorts.h"
#include "RadioImage.h"
#include "RadioMemory.h"
#include "VirtualRadio.h"
#include "WaitUntil.h"
#include "f2.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using zk::ColDecode;
using zk::ColEncode;
using zk::ColRx;
using zk::ColTx;

const std::string kHandshake = "50524F4752414D";

// A folder of the test's own, in the place of the program's folder.
class TestFolder {
public:
    std::string path(const std::string& relative) const { return dir_.filePath(QString::fromStdString(relative)).toStdString(); }
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

private:
    QTemporaryDir dir_;
};

// The main window on the virtual radio's port, with a second port that
// cannot be opened; backups are proposed in the folder's backups/.
class RadioOnThePort : public ::testing::Test {
protected:
    void SetUp() override
    {
        radio.start();
        window = std::make_unique<TForm2>(messages, dialogs, nullptr,
                                          zk::test::noSerialPorts({radio.path(), "/nonexistent/port"}));
        window->backupFolder = app.path("backups");
    }
    void TearDown() override
    {
        window.reset();
        radio.stop();
    }

    TForm2& form2() { return *window; }
    QString status() { return form2().portStatusText(); }
    std::string wire() const { return zk::toHexText(radio.received()); }
    void loadRadio(const zk::ChannelTable& plan) { zk::test::loadPlanIntoRadio(radio, plan); }

    void pickPort(int index)
    {
        auto* list = form2().findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        list->setCurrentIndex(index);
        emit list->activated(index); // what a pick in the drop-down list sends
    }

    VirtualRadio radio;
    TestFolder app;
    zk::test::RecordingMessages messages;
    zk::test::ScriptedFileDialogs dialogs;
    std::unique_ptr<TForm2> window;
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

using PortChoiceOnTheRadio = RadioOnThePort;

TEST_F(PortChoiceOnTheRadio, StartOpensTheFirstPortOfTheListAndShowsWhyAnotherFails)
{
    auto* list = form2().findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0).toStdString(), radio.path()); // /dev/pts/... sorts first
    EXPECT_EQ(status().toStdString(), "Serial Port:" + radio.path());
    EXPECT_TRUE(form2().Comm1.IsOpen());

    pickPort(1);
    EXPECT_EQ(status(), "Serial Port:The Port is Used");
    EXPECT_FALSE(form2().Comm1.IsOpen()); // the port open before was closed first
    auto* panel = form2().findChild<QLabel*>(QStringLiteral("StatusPanel1"));
    EXPECT_TRUE(panel->toolTip().contains("/nonexistent/port")) << panel->toolTip().toStdString();

    // Back to the radio: opened again, and the reason is gone.
    pickPort(0);
    EXPECT_EQ(status().toStdString(), "Serial Port:" + radio.path());
    EXPECT_TRUE(panel->toolTip().isEmpty());
}

// ---- Verify, Backup Radio and Restore Radio in the Edit menu ---------------

class RadioCommands : public RadioOnThePort {
protected:
    void trigger(const char* name) { form2().findChild<QAction*>(QLatin1String(name))->trigger(); }
    void putIntoTable(const zk::ChannelTable& p)
    {
        for (int r = 1; r <= zk::kChannels; ++r)
            for (int c = 1; c < zk::kColumns; ++c)
                form2().table().setCell(c, r, p.cell(c, r));
        for (int s = 0; s < zk::kSettings; ++s)
            form2().table().setSetting(s, p.setting(s));
    }
};

TEST_F(RadioCommands, VerifyComparesTheRadioWithTheTableAndLeavesTheTableAlone)
{
    loadRadio(plan());
    putIntoTable(plan());

    trigger("Verify");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Radio matches the channel plan."});

    messages.clear();
    form2().table().setCell(ColRx, 12, "446.01250");
    form2().table().setSetting(1, 9);
    trigger("Verify");
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text, "Radio differs from the channel plan in 2 channels or settings.");
    EXPECT_EQ(messages.entries[0].detail, "channel 12: RX Frequency radio 446.00625, plan 446.01250\n"
                                          "setting Time Out Timer(TOT): radio 120, plan 135");
    EXPECT_EQ(form2().table().cell(ColRx, 12), "446.01250");
    EXPECT_EQ(form2().table().band(), 1);
    const std::string oneRead = kHandshake + "5200104052005040520090405200D04052012F4045";
    ASSERT_TRUE(zk::test::waitUntil([&] { return wire().size() >= 2 * oneRead.size(); }));
    EXPECT_EQ(wire(), oneRead + oneRead);
}

TEST_F(RadioCommands, BackupThenRestoreGivesBackTheMemoryAndAWrongFileSendsNothing)
{
    zk::RadioImage original;
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<std::uint8_t>(i * 37 + 11);
    radio.setMemory(original);
    const std::string backup = app.path("kept.img");
    // The name as typed, without its extension: the backup still ends in
    // .img, so Restore's dialog shows it.
    dialogs.answers = {app.path("kept")};

    trigger("BackupRadio");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Backup saved to " + backup + "."});
    ASSERT_EQ(dialogs.startPlaces.size(), 1u);
    EXPECT_EQ(dialogs.startPlaces[0].first, app.path("backups"));
    EXPECT_TRUE(dialogs.startPlaces[0].second.starts_with("radio-")) << dialogs.startPlaces[0].second;
    EXPECT_EQ(app.read("kept.img").size(), zk::kImageSize);

    zk::RadioImage blank;
    blank.fill(0xFF);
    radio.setMemory(blank);
    messages.clear();
    messages.answers = {true};
    dialogs.answers = {backup};
    trigger("RestoreRadio");
    EXPECT_EQ(messages.questions(),
              std::vector<std::string>{
                  "Do you want to write kept.img into the radio? Every channel and setting in the radio is replaced."});
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Restore Success! The radio matches kept.img."});
    const zk::RadioImage restored = radio.memory();
    for (std::size_t address : zk::writtenAddresses())
        EXPECT_EQ(restored[address], original[address]) << "address " << address;

    app.write("short.img", std::string(100, '\x01'));
    messages.clear();
    // Backup, restore and its verify each end with the end byte.
    ASSERT_TRUE(zk::test::waitUntil([&] { return radio.sessionsEnded() == 3; }));
    radio.clearLog();
    dialogs.answers = {app.path("short.img")};
    trigger("RestoreRadio");
    EXPECT_EQ(messages.errors(), std::vector<std::string>{app.path("short.img") +
                                                          " is not a radio image: it holds 100 bytes, an image "
                                                          "holds 512."});
    EXPECT_TRUE(messages.questions().empty());
    // The next command's handshake is the first thing the radio hears.
    trigger("Verify");
    EXPECT_EQ(wire().substr(0, kHandshake.size() + 8), kHandshake + "52001040");
}

TEST_F(RadioCommands, ABackupFolderThatCannotBeMadeLeavesTheChoiceToTheDialog)
{
    app.write("plain-file", "x");
    form2().backupFolder = app.path("plain-file/backups");
    dialogs.answers = {app.path("elsewhere.img")};
    trigger("BackupRadio");
    EXPECT_TRUE(messages.errors().empty());
    EXPECT_TRUE(dialogs.startPlaces.empty());
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Backup saved to " + app.path("elsewhere.img") + "."});
    EXPECT_EQ(app.read("elsewhere.img").size(), zk::kImageSize);
}

TEST_F(RadioCommands, VerifyComparesWithTheTableAsItWasWhenItStarted)
{
    loadRadio(plan());
    putIntoTable(plan());
    // An edit made while the radio is being read: part of the next Verify, not this one.
    auto* dialog = form2().findChild<QDialog*>(QStringLiteral("RadioCommandDialog"));
    ASSERT_NE(dialog, nullptr);
    auto* bar = dialog->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    bool editedDuringRead = false;
    QTimer edit;
    QObject::connect(&edit, &QTimer::timeout, [&] {
        // Between two blocks, with the last still to come.
        if (!editedDuringRead && dialog->isVisible() && bar->value() >= 1 && bar->value() < 5) {
            form2().table().setCell(ColRx, 12, "446.01250");
            editedDuringRead = true;
        }
    });
    edit.start(1);

    trigger("Verify");
    edit.stop();
    EXPECT_TRUE(editedDuringRead);
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Radio matches the channel plan."});
    EXPECT_EQ(form2().table().cell(ColRx, 12), "446.01250");

    messages.clear();
    trigger("Verify");
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].detail, "channel 12: RX Frequency radio 446.00625, plan 446.01250");
}

TEST_F(RadioCommands, APortNotReadyIsToldWithTheCommandsName)
{
    pickPort(1); // a port that cannot be opened
    app.write("blank.img", std::string(zk::kImageSize, '\xFF'));
    messages.clear();
    radio.clearLog();

    trigger("Verify");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Verify could not start: the chosen port is not open."});

    messages.clear();
    messages.answers = {true};
    dialogs.answers = {app.path("blank.img")};
    trigger("RestoreRadio");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Restore could not start: the chosen port is not open."});
    EXPECT_TRUE(radio.received().empty());
}

TEST_F(RadioCommands, ARadioThatFallsSilentIsToldWithTheCommandAndWhatTheRadioHolds)
{
    auto* dialog = form2().findChild<QDialog*>(QStringLiteral("RadioCommandDialog"));
    ASSERT_NE(dialog, nullptr);
    QStringList titles;
    QStringList steps;
    QTimer watch; // what the dialog shows while the command runs
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QString step = dialog->findChild<QLabel*>(QStringLiteral("Step"))->text();
        if (dialog->isVisible() && !titles.contains(dialog->windowTitle()))
            titles << dialog->windowTitle();
        if (dialog->isVisible() && !steps.contains(step))
            steps << step;
    });
    watch.start(1);

    RadioFaults faults;
    faults.silentAfter = 2;
    radio.setFaults(faults);
    trigger("Verify");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Verify could not read the radio: Read Error!"});
    EXPECT_FALSE(dialog->isVisible());

    messages.clear();
    app.write("blank.img", std::string(zk::kImageSize, '\xFF'));
    messages.answers = {true};
    dialogs.answers = {app.path("blank.img")};
    trigger("RestoreRadio");
    EXPECT_EQ(messages.notices(),
              std::vector<std::string>{"Restore stopped after block 2 of 5: the radio holds part of the image."});
    watch.stop();
    EXPECT_TRUE(titles.contains(QStringLiteral("Verify"))) << titles.join(',').toStdString();
    EXPECT_TRUE(titles.contains(QStringLiteral("Restore Radio"))) << titles.join(',').toStdString();
    EXPECT_TRUE(steps.contains(QStringLiteral("Verify: block 2/5"))) << steps.join(',').toStdString();
    EXPECT_TRUE(steps.contains(QStringLiteral("restore: block 1/5"))) << steps.join(',').toStdString();
    EXPECT_FALSE(steps.contains(QStringLiteral("restore: block 3/5"))) << steps.join(',').toStdString();
}
