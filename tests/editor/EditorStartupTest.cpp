// The main window after its creation step, its make-up, and the commands
// that other windows carry out.
#include "EditorHarness.h"
#include "VirtualRadio.h"

#include <QStatusBar>

namespace zk::test {
namespace {

using StartupTest = EditorTest;

TEST_F(StartupTest, GridShowsHeadersChannelNumbersAndEmptyCells)
{
    const char* headers[] = {"Channel", "RX Frequency", "TX Frequency", "QT/DQT Dec", "QT/DQT Enc", "TX Power", "W/N"};
    ASSERT_EQ(grid()->rowCount(), 17);
    ASSERT_EQ(grid()->columnCount(), 7);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(shown(c, 0), headers[c]);
    for (int r = 1; r <= 16; ++r) {
        EXPECT_EQ(shown(0, r), std::to_string(r));
        for (int c = 1; c <= 6; ++c)
            EXPECT_EQ(shown(c, r), "") << c << "," << r;
    }
    EXPECT_EQ(grid()->columnWidth(0), 70);
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(grid()->columnWidth(c), 120);
    EXPECT_TRUE(grid()->horizontalHeader()->isHidden());
    EXPECT_TRUE(grid()->verticalHeader()->isHidden());
    EXPECT_EQ(grid()->size(), QSize(865, 433));
}

TEST_F(StartupTest, BandOneAndFirstSettingsAndNoPort)
{
    EXPECT_TRUE(action("N9")->isChecked());
    for (const char* other : {"N10", "N11", "N16", "N17"})
        EXPECT_FALSE(action(other)->isChecked()) << other;
    EXPECT_EQ(window->table().lowLimit(), 136);
    EXPECT_EQ(window->table().highLimit(), 174);

    const char* firstItems[] = {"OFF", "0FF", "0", "OFF", "1"};
    const char* names[] = {"c1", "c2", "c3", "c4", "c5"};
    for (int s = 0; s < 5; ++s) {
        EXPECT_EQ(list(names[s])->currentText().toStdString(), firstItems[s]);
        EXPECT_FALSE(list(names[s])->isEditable());
    }

    EXPECT_EQ(window->portStatusText(), "No Port!");
    EXPECT_EQ(child<QLabel>("StatusPanel2")->text(), " ");
    EXPECT_EQ(list("ComboBox1")->count(), 0);
    EXPECT_EQ(child<QLabel>("Label1")->text(), "Serial Port:");
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(StartupTest, WindowMakeUp)
{
    EXPECT_EQ(window->objectName(), "TForm2");
    EXPECT_EQ(window->size(), QSize(889, 770));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(child<QStatusBar>("StatusBar1")->height(), 35);
    EXPECT_EQ(child<QLabel>("StatusPanel1")->width(), 200);
    EXPECT_EQ(child<QLabel>("StatusPanel2")->width(), 200);
    EXPECT_EQ(child<QWidget>("Panel1")->height(), 49);
    EXPECT_EQ(child<QWidget>("Panel2")->height(), 121);

    const char* labels[] = {"Voice Annunciation :", "Time Out Timer(TOT):", "Squelch Level      :",
                            "VOX Function      :", "VOX Delay Time    :"};
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(child<QLabel>(("SettingLabel" + std::to_string(s + 1)).c_str())->text().toStdString(), labels[s]);

    // Hidden parts: the editors and the current cell.
    for (const char* name : {"t1", "t2", "t3", "t4", "t5", "t6", "Col", "Row"}) {
        QWidget* w = child<QWidget>(name);
        EXPECT_TRUE(w->isHidden()) << name;
        EXPECT_EQ(w->parentWidget(), window.get()) << name;
    }
    EXPECT_EQ(list("t3")->count(), 206);
    EXPECT_EQ(list("t5")->itemText(1), "High");
    EXPECT_EQ(list("t6")->itemText(0), "Narrow");
}

TEST_F(StartupTest, MenuCaptions)
{
    QMenuBar* bar = window->menuBar();
    EXPECT_EQ(bar->objectName(), "MainMenu1");
    QStringList titles;
    for (QAction* a : bar->actions())
        titles << a->text();
    // The captions read as before; the letter in parentheses is the access key.
    EXPECT_EQ(titles, QStringList({"File(&F)", "Edit(&E)", "Help(&H)", "Quit(&Q)"}));
    const Qt::Key keys[] = {Qt::Key_F, Qt::Key_E, Qt::Key_H, Qt::Key_Q};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(QKeySequence::mnemonic(bar->actions()[i]->text()), QKeySequence(Qt::ALT | keys[i]));
    EXPECT_EQ(bar->actions().last(), action("N15"));
    EXPECT_EQ(action("N15")->menu(), nullptr);

    // The captions as they read; the access letters are pinned elsewhere.
    auto captions = [&](const char* menu) {
        QStringList out;
        for (QAction* a : child<QMenu>(menu)->actions())
            out << a->objectName() + "=" + QString(a->text()).remove(QLatin1Char('&'));
        return out;
    };
    // The program's own items first, the later additions after them.
    EXPECT_EQ(captions("MenuFile").mid(0, 4), QStringList({"N1=New", "N2=Open", "N3=Save", "N4=Quit"}));
    EXPECT_EQ(captions("MenuEdit").mid(0, 8),
              QStringList({"N6=Read", "N7=Write", "N8=-------", "N9=VHF:136-174", "N10=VHF:220-260",
                           "N11=UHF:340-390", "N16=UHF:400-490", "N17=UHF:440-520"}));
    EXPECT_EQ(captions("MenuFile").mid(4), QStringList({"=", "=Recent Files", "Print=Print...",
                                                         "ExportPdf=Export PDF...", "ImportCsv=Import CSV...",
                                                         "ExportCsv=Export CSV...",
                                                         "NewFromList=New From List..."}));
    EXPECT_EQ(captions("MenuEdit").mid(8), QStringList({"=", "Undo=Undo", "Redo=Redo", "=", "Cut=Cut", "Copy=Copy",
                                                         "Paste=Paste", "Delete=Delete", "=", "Verify=Verify",
                                                         "BackupRadio=Backup Radio...",
                                                         "RestoreRadio=Restore Radio..."}));
        EXPECT_EQ(captions("MenuHelp"),
              QStringList({"N13=Remark", "N14=Change PassWord", "ConnectionCheck=Connection Check"}));
    EXPECT_FALSE(action("N8")->isEnabled());
}

TEST_F(StartupTest, ToolBarButtonsRunTheirMenuItemsActions)
{
    QToolBar* bar = child<QToolBar>("ToolBar1");
    EXPECT_EQ(bar->height(), 57);
    EXPECT_EQ(bar->iconSize(), QSize(32, 32));
    EXPECT_EQ(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

    const std::pair<const char*, const char*> buttons[] = {{"N1", "  New  "}, {"N2", "  Open  "},
                                                           {"N3", "  Save   "}, {"N6", "Read"},
                                                           {"N7", "Write"},   {"N13", "Remark"},
                                                           {"N14", "Password"}};
    QList<QToolButton*> found;
    for (QAction* a : bar->actions())
        if (!a->isSeparator())
            found << qobject_cast<QToolButton*>(bar->widgetForAction(a));
    ASSERT_EQ(found.size(), 7);
    int separators = 0;
    for (QAction* a : bar->actions())
        separators += a->isSeparator() ? 1 : 0;
    EXPECT_EQ(separators, 6);
    for (int i = 0; i < 7; ++i) {
        QToolButton* button = found[i];
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->defaultAction(), action(buttons[i].first)) << "one code path per command";
        EXPECT_EQ(button->text().toStdString(), buttons[i].second);
        EXPECT_EQ(button->size(), QSize(53, 52));
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->focusPolicy() & Qt::ClickFocus, 0) << "clicking a button leaves the focus where it is";
    }
}

TEST_F(StartupTest, HooksRunFromMenuAndToolBarAndUnsetHooksDoNothing)
{
    // Unset: nothing happens and nothing is reported.
    clickToolButton("N6");
    clickToolButton("N14");
    clickMenuItem("MenuHelp", "N13");
    EXPECT_TRUE(messages.entries.empty());

    int read = 0, write = 0, remark = 0, password = 0;
    window->onRead = [&] { ++read; };
    window->onWrite = [&] { ++write; };
    window->onRemark = [&] { ++remark; };
    window->onChangePassword = [&] { ++password; };
    clickToolButton("N6");
    clickMenuItem("MenuEdit", "N6");
    clickToolButton("N7");
    clickMenuItem("MenuEdit", "N7");
    clickToolButton("N13");
    clickMenuItem("MenuHelp", "N13");
    clickToolButton("N14");
    clickMenuItem("MenuHelp", "N14");
    EXPECT_EQ(read, 2);
    EXPECT_EQ(write, 2);
    EXPECT_EQ(remark, 2);
    EXPECT_EQ(password, 2);
}

TEST_F(StartupTest, HookErrorsGoToTheErrorBox)
{
    window->onRead = [] { throw std::runtime_error("Read failed"); };
    clickToolButton("N6");
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"Read failed."});
    EXPECT_TRUE(window->isVisible());
}

TEST_F(StartupTest, PickingASettingWritesTheTableAndRunsThePortChoice)
{
    pickFromList(list("c2"), 4);
    EXPECT_EQ(window->table().setting(1), 4);
    EXPECT_EQ(list("c2")->currentText(), "60");
    // No serial port: the choice tries an empty port name and fails.
    EXPECT_EQ(window->portStatusText(), "Serial Port:The Port is Used");

    pickFromList(list("c5"), 8);
    EXPECT_EQ(window->table().setting(4), 8);
    EXPECT_EQ(list("c5")->currentText(), "9");
}

TEST_F(StartupTest, ListsFollowTheTableWithoutRunningThePickHandling)
{
    window->table().setSetting(0, 2);
    window->table().setSetting(2, 9);
    window->table().setSetting(3, 7); // beyond the list: no selection
    EXPECT_EQ(list("c1")->currentText(), "English");
    EXPECT_EQ(list("c3")->currentText(), "9");
    EXPECT_EQ(list("c4")->currentIndex(), -1);
    EXPECT_EQ(window->portStatusText(), "No Port!") << "a programmatic change is not a pick";
}

TEST_F(StartupTest, PickingAPortOpensItAndTheStatusSaysWhich)
{
    VirtualRadio first(VirtualRadioOptions{9600, false, {}, {}});
    VirtualRadio second(VirtualRadioOptions{9600, false, {}, {}});
    first.start();
    second.start();
    const std::string missing = "/nonexistent/ttyUSB9";
    openWindow(noSerialPorts({first.path(), second.path(), missing}));
    QComboBox* ports = list("ComboBox1");
    ASSERT_EQ(ports->count(), 3);
    const QString opened = ports->currentText();
    const std::string other = opened.toStdString() == first.path() ? second.path() : first.path();
    EXPECT_EQ(window->portStatusText(), "Serial Port:" + opened);

    pickFromList(ports, ports->findText(QString::fromStdString(other)));
    EXPECT_EQ(child<QLabel>("StatusPanel1")->text().toStdString(), "Serial Port:" + other);
    EXPECT_EQ(window->Comm1.CommName(), other);
    EXPECT_TRUE(window->Comm1.IsOpen());

    pickFromList(ports, ports->findText(QString::fromStdString(missing)));
    EXPECT_EQ(child<QLabel>("StatusPanel1")->text(), "Serial Port:The Port is Used");
    EXPECT_FALSE(window->Comm1.IsOpen()) << "the port open before was closed first";
    window.reset(); // before the radios' terminals go
}

} // namespace
} // namespace zk::test
