// Help > Connection Check asks the radio through the window's own port:
// an answer, a transfer already running, a port that is not open; and its
// advice points at the window, never at the command line.
#include "EditorHarness.h"
#include "VirtualRadio.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>

using namespace zk;
using namespace zk::test;

namespace {

class ConnectionProbeTest : public EditorTest {
protected:
    void SetUp() override {} // each test opens the window on its own port

    void startRadio()
    {
        radio = std::make_unique<VirtualRadio>(VirtualRadioOptions{9600, false, {}, link});
        radio->start();
    }

    // Clicks Help > Connection Check and gives the report the window shows.
    std::string checkFromMenu()
    {
        clickMenuItem("MenuHelp", "ConnectionCheck");
        return shownReport();
    }

    std::string shownReport() const
    {
        auto* report = window->findChild<QWidget*>(QStringLiteral("ConnectionCheckWindow"));
        if (!report || !waitUntil([&] { return report->isVisible(); }))
            return "<no report>";
        return report->findChild<QPlainTextEdit*>(QStringLiteral("ReportText"))->toPlainText().toStdString();
    }

    static bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

    QTemporaryDir dir;
    const std::string link = dir.filePath("radio").toStdString();
    std::unique_ptr<VirtualRadio> radio;
};

TEST_F(ConnectionProbeTest, TheRadioIsAskedThroughTheWindowsPort)
{
    startRadio();
    openWindow(noSerialPorts({link}));
    ASSERT_TRUE(window->portReady());
    const std::string text = checkFromMenu();
    EXPECT_TRUE(has(text, "\nok    the radio on " + link + " answered the handshake and the first read command\n"))
        << text;
    EXPECT_FALSE(has(text, "zk-h41-cli")) << text;
    EXPECT_TRUE(window->Comm1.IsOpen()) << "the window keeps its port";
    EXPECT_EQ(window->transferEngine().read([](int) {}).outcome, TransferOutcome::Succeeded);
}

TEST_F(ConnectionProbeTest, NoQuestionToTheRadioWhileATransferRuns)
{
    startRadio();
    openWindow(noSerialPorts({link}));
    std::string during;
    const TransferResult read = window->transferEngine().read([&](int blocksDone) {
        if (blocksDone == 1) {
            window->connectionCheckClick();
            during = shownReport();
        }
    });
    EXPECT_EQ(read.outcome, TransferOutcome::Succeeded) << "the check did not get in the read's way";
    EXPECT_TRUE(has(during, "\nwarn  the radio was not asked: a transfer with the radio is running\n"
                            "      fix: check again when it has ended\n"))
        << during;
    EXPECT_FALSE(has(during, "the radio on " + link)) << during;
}

TEST_F(ConnectionProbeTest, APortThatIsNotThereGetsAdviceForTheWindow)
{
    openWindow(noSerialPorts({link})); // listed, but no radio made it
    ASSERT_FALSE(window->portReady());
    const std::string text = checkFromMenu();
    // Services this machine runs may add lines between these two.
    EXPECT_EQ(text.rfind("fail  " + link + " does not exist\n"
                         "      fix: plug the cable in; the Serial Port list above the channels shows the serial "
                         "ports\n",
                         0),
              0u)
        << text;
    EXPECT_TRUE(has(text, "\nfail  the radio was not asked: " + link + " is not open\n"
                          "      fix: pick the cable's port in the Serial Port list; the port panel's tooltip in the "
                          "status bar says why it did not open\n"))
        << text;
    EXPECT_FALSE(has(text, "zk-h41-cli")) << text;
}

} // namespace
