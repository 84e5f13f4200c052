// A port named by its path, with no device notices at all: when the
// virtual radio on that path stops, the port is no longer open; when it
// starts again on the same path, the window opens it again by itself.
#include "EditorHarness.h"
#include "VirtualRadio.h"

#include <QTemporaryDir>

using namespace zk;
using namespace zk::test;

TEST(CableByPath, APortNamedByItsPathIsOpenedAgainWhenThePathComesBack)
{
    QTemporaryDir dir;
    const std::string link = dir.filePath("radio").toStdString();
    const VirtualRadioOptions options{9600, false, {}, link};
    auto radio = std::make_unique<VirtualRadio>(options);
    radio->start();
    RecordingMessages messages;
    ScriptedFileDialogs dialogs;
    // No device notices: only the path itself can tell that it came back.
    TForm2 window(messages, dialogs, nullptr, PortSources{"/nonexistent/sys", "/nonexistent/dev", {link}, nullptr, nullptr});
    const QString open = QString::fromStdString("Serial Port:" + link);
    ASSERT_EQ(window.portStatusText(), open);

    radio.reset();
    ASSERT_TRUE(waitUntil([&] { return window.portStatusText() == "Serial Port:The Port is Used"; }));
    EXPECT_FALSE(window.Comm1.IsOpen());
    auto* panel = window.findChild<QLabel*>(QStringLiteral("StatusPanel1"));
    EXPECT_EQ(panel->toolTip().toStdString(),
              "The cable on " + link + " was unplugged. It is opened again when the same cable comes back.");

    radio = std::make_unique<VirtualRadio>(options);
    radio->start();
    ASSERT_TRUE(waitUntil([&] { return window.portStatusText() == open; })) << window.portStatusText().toStdString();
    EXPECT_TRUE(panel->toolTip().isEmpty());
    EXPECT_EQ(window.transferEngine().read([](int) {}).outcome, TransferOutcome::Succeeded);
    EXPECT_TRUE(messages.entries.empty());
}
