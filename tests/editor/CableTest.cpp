// The main window and the cable: a port whose line hangs up is no longer
// open and comes back by itself with the same cable (the virtual radio
// stopped and started again on the same link path), the port list follows
// devices that come and go, consoles, the serial trace, other holders of
// the port, and the Connection Check.
#include "EditorHarness.h"
#include "FakeSystem.h"
#include "PortEvents.h"
#include "SerialTrace.h"
#include "VirtualRadio.h"
#include "read.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

using namespace zk;
using namespace zk::test;

namespace {

QString statusOf(const TForm2& window)
{
    return window.portStatusText();
}

std::string fileText(const QString& path)
{
    std::ifstream in(path.toStdString());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int countOf(const std::string& text, const std::string& part)
{
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(Cable, AHungUpPortIsNotOpenAndTheSameCableIsOpenedAgain)
{
    QTemporaryDir dir;
    const std::string link = dir.filePath("radio").toStdString();
    const VirtualRadioOptions options{9600, false, {}, link};
    auto radio = std::make_unique<VirtualRadio>(options);
    radio->start();
    PortEventSource events;
    SerialTrace trace(dir.filePath("trace.txt").toStdString());
    RecordingMessages messages;
    ScriptedFileDialogs dialogs;
    TForm2 window(messages, dialogs, nullptr, PortSources{"/nonexistent/sys", "/nonexistent/dev", {link}, &trace, &events});
    const QString open = QString::fromStdString("Serial Port:" + link);
    ASSERT_EQ(statusOf(window), open);
    // A hang-up notice left over from an earlier opening closes nothing.
    window.Comm1.OnRequestHangup(&window.Comm1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.Comm1.IsOpen());
    EXPECT_EQ(statusOf(window), open);

    // The cable pulled out in the middle of a read: that read fails.
    const TransferResult cut = window.transferEngine().read([&](int blocksDone) {
        if (blocksDone == 1)
            radio->stop();
    });
    EXPECT_EQ(cut.outcome, TransferOutcome::Failed);
    ASSERT_TRUE(waitUntil([&] { return statusOf(window) == "Serial Port:The Port is Used"; }));
    auto* panel = window.findChild<QLabel*>(QStringLiteral("StatusPanel1"));
    EXPECT_EQ(panel->toolTip().toStdString(),
              "The cable on " + link + " was unplugged. It is opened again when the same cable comes back.");
    EXPECT_FALSE(window.Comm1.IsOpen());
    // Read takes the port-not-ready path at once, no time-outs waited out.
    EXPECT_EQ(window.transferEngine().read([](int) {}).outcome, TransferOutcome::PortNotReady);

    radio = std::make_unique<VirtualRadio>(options);
    radio->start();
    events.deliver({PortEvent::Kind::Added, link});
    EXPECT_EQ(statusOf(window), open);
    EXPECT_TRUE(panel->toolTip().isEmpty());
    EXPECT_EQ(window.transferEngine().read([](int) {}).outcome, TransferOutcome::Succeeded);

    const std::string traced = fileText(dir.filePath("trace.txt"));
    EXPECT_EQ(countOf(traced, " open   " + link + "\n"), 2) << traced;
    EXPECT_EQ(countOf(traced, " hangup "), 1) << traced;
    EXPECT_EQ(countOf(traced, " close "), 1) << traced;
    EXPECT_EQ(countOf(traced, " note   time-out: 0 of 68 reply bytes\n"), 1) << traced;
}

TEST(Cable, AMissingReplyNamesTheOtherProcessesOnThePort)
{
    QTemporaryDir dir;
    const std::string link = dir.filePath("radio").toStdString();
    VirtualRadio radio(VirtualRadioOptions{9600, false, {}, link});
    RadioFaults faults;
    faults.silentAfter = 0;
    radio.setFaults(faults);
    radio.start();
    // Another program that opened the port first, without a lock.
    QProcess other;
    other.setStandardInputFile(QString::fromStdString(link));
    other.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(other.waitForStarted());
    RecordingMessages messages;
    ScriptedFileDialogs dialogs;
    TForm2 window(messages, dialogs, nullptr, noSerialPorts({link}));
    ASSERT_EQ(statusOf(window), QString::fromStdString("Serial Port:" + link));

    const std::string holder = "sleep (pid " + std::to_string(other.processId()) + ") also has " + link + " open.";
    EXPECT_EQ(window.transferEngine().read([](int) {}).outcome, TransferOutcome::Failed);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("StatusPanel1"))->toolTip().toStdString(),
              "The radio's reply did not come in time.\n" + holder);

    // The read dialog's "Read Error!" carries the same names as its detail.
    TForm5 readDialog(window.transferEngine(), messages, &window);
    messages.clear();
    readDialog.Button1->click();
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text, kReadError);
    EXPECT_EQ(messages.entries[0].detail, holder);
    other.kill();
    other.waitForFinished();
}

TEST(Cable, ThePortListFollowsDevicesAndKeepsTheChoice)
{
    FakeSystem system;
    const std::string virtualPort = system.path("zz-virtual").string();
    PortEventSource events;
    RecordingMessages messages;
    ScriptedFileDialogs dialogs;
    TForm2 window(messages, dialogs, nullptr,
                  PortSources{system.view.sysRoot, system.view.devRoot, {virtualPort}, nullptr, &events});
    auto* list = window.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    ASSERT_EQ(list->count(), 1);

    system.usbTty("ttyUSB0", "1-1.2", "1a86", "7523", "A1");
    events.deliver({PortEvent::Kind::Added, system.dev("ttyUSB0")});
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0).toStdString(), system.dev("ttyUSB0"));
    EXPECT_EQ(list->currentText().toStdString(), virtualPort);
    EXPECT_EQ(statusOf(window), "Serial Port:The Port is Used") << "a new device is not opened unasked";

    std::filesystem::remove_all(system.path("sys/class/tty/ttyUSB0"));
    std::filesystem::remove(system.dev("ttyUSB0"));
    events.deliver({PortEvent::Kind::Removed, system.dev("ttyUSB0")});
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText().toStdString(), virtualPort);
}

TEST_F(EditorTest, ConnectionCheckShowsTheReportToCopy)
{
    QMenu* help = child<QMenu>("MenuHelp");
    ASSERT_EQ(help->actions().size(), 3);
    EXPECT_EQ(help->actions().back()->text(), "&Connection Check") << "after the existing items";
    clickMenuItem("MenuHelp", "ConnectionCheck");
    auto* report = window->findChild<QWidget*>(QStringLiteral("ConnectionCheckWindow"));
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(waitUntil([&] { return report->isVisible(); }));
    const QString text = report->findChild<QPlainTextEdit*>(QStringLiteral("ReportText"))->toPlainText();
    EXPECT_TRUE(text.startsWith("fail  no serial port found\n      fix: plug the cable in;")) << text.toStdString();
    QApplication::clipboard()->clear();
    QTest::mouseClick(report->findChild<QPushButton*>(QStringLiteral("CopyButton")), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), text);
    EXPECT_TRUE(messages.entries.empty());
}

TEST(Cable, AConsoleNamedOnTheCommandLineIsListedButNotOpenedByItself)
{
    FakeSystem system;
    system.serialTty("ttyS0");
    system.consoles("ttyS0");
    RecordingMessages messages;
    ScriptedFileDialogs dialogs;
    TForm2 window(messages, dialogs, nullptr,
                  PortSources{system.view.sysRoot, system.view.devRoot, {system.dev("ttyS0")}, nullptr, nullptr});
    auto* list = window.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText().toStdString(), system.dev("ttyS0"));
    EXPECT_FALSE(window.Comm1.IsOpen());
    EXPECT_EQ(statusOf(window), "Serial Port:The Port is Used");
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("StatusPanel1"))->toolTip().toStdString(),
              system.dev("ttyS0") +
                  " is the system console, so it was not opened by itself. Pick it in the list to use it anyway.");
}
