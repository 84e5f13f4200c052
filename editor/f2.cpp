// TForm2's make-up, its creation step, the widgets following the table, and
// the port set-up and port choice.
#include "f2.h"

#include "ChannelGrid.h"
#include "EventLoopWait.h"
#include "Guarded.h"
#include "Lists.h"
#include "OpenFailure.h"
#include "PortConnection.h"
#include "PortEvents.h"
#include "PortStatus.h"
#include "ScreenFit.h"
#include "ToolIcons.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <string>
#include <utility>

namespace {

constexpr int kToolBarHeight = 57;
constexpr QSize kToolButtonSize(53, 52);
constexpr int kPortPanelHeight = 49;
constexpr QSize kGridSize(865, 433);
constexpr int kSettingsPanelHeight = 121;
constexpr int kStatusBarHeight = 35;
constexpr int kStatusPanelWidth = 200;
constexpr int kChannelColumnWidth = 70;
constexpr int kCellColumnWidth = 120;

QStringList qlist(const std::vector<std::string>& items)
{
    QStringList list;
    for (const auto& item : items)
        list << qtext(item);
    return list;
}

QComboBox* pickOnlyList(const std::vector<std::string>& items, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    list->addItems(qlist(items));
    return list;
}

} // namespace

TForm2::TForm2(zk::UserMessages& messages, zk::FileDialogs& dialogs, QWidget* parent, zk::PortSources ports)
    : QMainWindow(parent)
    , messages_(messages)
    , dialogs_(dialogs)
    , portSources_(std::move(ports))
    , link_(zk::sendThrough(Comm1), [this] { return portReady(); }, zk::pumpEventsFor)
    , engine_(link_, table_)
    , history_(table_)
{
    zk::receiveInto(Comm1, link_);
    Comm1.SetTap(portSources_.tap);
    watchPorts();
    setObjectName(QStringLiteral("TForm2"));
    // A system menu and a minimise button, no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(zk::kDesignWindowSize);
    setAcceptDrops(true);

    buildMenu();
    buildToolBar();
    buildPanels();
    buildEditors();
    buildPlanMenus();
    buildRadioMenu();

    showWholeTable();
    table_.setListener(this);
    FormCreate();
    // The plan as it starts is what New gives: nothing unsaved yet.
    history_.markSaved();
    history_.stack().clear();
    if (const QScreen* where = screen())
        fitToScreen(where->availableGeometry());
}

TForm2::~TForm2()
{
    // Children are destroyed after this body; none of them may reach the
    // handlers of a half-destroyed window any more.
    table_.setListener(nullptr);
    t1->removeEventFilter(this);
    t2->removeEventFilter(this);
    // The port's events would reach the link, which goes before Comm1.
    Comm1.OnReceiveData = nullptr;
    Comm1.OnRequestHangup = nullptr;
    if (portSources_.events)
        portSources_.events->onEvent = nullptr;
    Comm1.ClosePort();
}

void TForm2::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    auto item = [this](QAction*& action, const char* name, const char* caption, void (TForm2::*handler)()) {
        action = new QAction(QString::fromLatin1(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        action->setIconVisibleInMenu(false);
        connect(action, &QAction::triggered, this, handler);
    };

    QMenu* file = bar->addMenu(QStringLiteral("File(&F)"));
    file->setObjectName(QStringLiteral("MenuFile"));
    item(N1, "N1", "New", &TForm2::N1Click);
    item(N2, "N2", "Open", &TForm2::N2Click);
    item(N3, "N3", "Save", &TForm2::N3Click);
    item(N4, "N4", "Quit", &TForm2::N4Click);
    file->addActions({N1, N2, N3, N4});

    QMenu* edit = bar->addMenu(QStringLiteral("Edit(&E)"));
    edit->setObjectName(QStringLiteral("MenuEdit"));
    item(N6, "N6", "Read", &TForm2::N6Click);
    item(N7, "N7", "Write", &TForm2::N7Click);
    N8 = new QAction(QStringLiteral("-------"), this);
    N8->setObjectName(QStringLiteral("N8"));
    N8->setEnabled(false);
    edit->addActions({N6, N7, N8});
    void (TForm2::*const bandHandlers[zk::kBands])() = {&TForm2::N9Click, &TForm2::N10Click, &TForm2::N11Click,
                                                        &TForm2::N16Click, &TForm2::N17Click};
    for (std::size_t i = 0; i < bandItems_.size(); ++i) {
        const zk::Band& band = zk::bandTable()[i];
        item(bandItems_[i], band.menuItem.c_str(), band.caption.c_str(), bandHandlers[i]);
        // Checked by the band menu itself, never by a click on its own.
        bandItems_[i]->setCheckable(true);
        edit->addAction(bandItems_[i]);
    }

    QMenu* help = bar->addMenu(QStringLiteral("Help(&H)"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    item(N13, "N13", "Remark", &TForm2::N13Click);
    item(N14, "N14", "Change PassWord", &TForm2::N14Click);
    help->addActions({N13, N14});
    item(connectionCheckItem_, "ConnectionCheck", "Connection Check", &TForm2::connectionCheckClick);
    help->addAction(connectionCheckItem_);

    item(N15, "N15", "Quit(&Q)", &TForm2::N15Click);
    bar->addAction(N15);
}

void TForm2::buildToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(kToolBarHeight);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // A small caption font, so "Password" fits a 53-pixel button.
    QFont captionFont = ToolBar1->font();
    captionFont.setPixelSize(10);
    ToolBar1->setFont(captionFont);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    // Each button runs its menu item's action: one code path per command.
    struct Button {
        QAction* action;
        const char* caption;
        QIcon icon;
    };
    const Button buttons[] = {
        {N1, "  New  ", zk::icons::newPlan()},     {N2, "  Open  ", zk::icons::openPlan()},
        {N3, "  Save   ", zk::icons::savePlan()},  {N6, "Read", zk::icons::readRadio()},
        {N7, "Write", zk::icons::writeRadio()},    {N13, "Remark", zk::icons::remark()},
        {N14, "Password", zk::icons::password()},
    };
    int number = 0;
    for (const Button& button : buttons) {
        if (number > 0)
            ToolBar1->addSeparator();
        button.action->setIcon(button.icon);
        button.action->setIconText(QString::fromLatin1(button.caption));
        ToolBar1->addAction(button.action);
        QWidget* widget = ToolBar1->widgetForAction(button.action);
        widget->setObjectName(QStringLiteral("ToolButton%1").arg(++number));
        widget->setFixedSize(kToolButtonSize);
    }
}

void TForm2::buildPanels()
{
    // The contents scroll when the window is smaller than its design size.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ContentsScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    // An in-place editor is a child of the window: it moves with its cell.
    for (QScrollBar* bar : {scroll->horizontalScrollBar(), scroll->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &TForm2::placeOpenEditor);
    auto* central = new QWidget(scroll);
    central->setObjectName(QStringLiteral("Contents"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel1 = new QFrame(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(kPortPanelHeight);
    Label1 = new QLabel(QString::fromLatin1(zk::port::kCaption), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    // The port list is filled by the port set-up.
    ComboBox1 = new QComboBox(Panel1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setMinimumWidth(145);
    auto* portRow = new QHBoxLayout(Panel1);
    portRow->setContentsMargins(12, 0, 0, 0);
    portRow->addWidget(Label1);
    portRow->addWidget(ComboBox1);
    portRow->addStretch();
    connect(ComboBox1, &QComboBox::activated, this, &TForm2::ComboBox1Click);
    column->addWidget(Panel1);

    StringGrid1 = new zk::ChannelGrid(zk::kRows, zk::kColumns, central);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setFixedSize(kGridSize);
    for (int c = 0; c < zk::kColumns; ++c)
        StringGrid1->makeFixedCell(0, c);
    for (int r = 1; r < zk::kRows; ++r)
        StringGrid1->makeFixedCell(r, 0);
    connect(StringGrid1, &zk::ChannelGrid::cellSelecting, this, &TForm2::StringGrid1SelectCell);
    connect(StringGrid1, &zk::ChannelGrid::listRequested, this, &TForm2::openListFromKeyboard);
    column->addWidget(StringGrid1, 0, Qt::AlignHCenter);

    Panel2 = new QFrame(central);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(kSettingsPanelHeight);
    auto* grid = new QGridLayout(Panel2);
    grid->setContentsMargins(24, 8, 24, 8);
    grid->setHorizontalSpacing(12);
    for (int s = 0; s < zk::kSettings; ++s) {
        auto* label = new QLabel(qtext(zk::settingLabel(s)), Panel2);
        label->setObjectName(QStringLiteral("SettingLabel%1").arg(s + 1));
        QComboBox* list = pickOnlyList(zk::settingsList(s), Panel2);
        list->setObjectName(QStringLiteral("c%1").arg(s + 1));
        list->setMinimumWidth(120);
        settingsLists_[static_cast<std::size_t>(s)] = list;
        // c1..c3 on the left, c4 and c5 on the right.
        const int row = s < 3 ? s : s - 3;
        const int labelColumn = s < 3 ? 0 : 3;
        grid->addWidget(label, row, labelColumn);
        grid->addWidget(list, row, labelColumn + 1);
        connect(list, &QComboBox::activated, this, [this, s](int index) { settingPicked(s, index); });
    }
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(5, 1);
    column->addWidget(Panel2);
    column->addStretch();
    scroll->setWidget(central);
    setCentralWidget(scroll);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(kStatusBarHeight);
    StatusBar1->setSizeGripEnabled(false);
    portStatusPanel_ = new QLabel(StatusBar1);
    portStatusPanel_->setObjectName(QStringLiteral("StatusPanel1"));
    portStatusPanel_->setFixedWidth(kStatusPanelWidth);
    blankPanel_ = new QLabel(QStringLiteral(" "), StatusBar1);
    blankPanel_->setObjectName(QStringLiteral("StatusPanel2"));
    blankPanel_->setFixedWidth(kStatusPanelWidth);
    blankPanel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StatusBar1->addWidget(portStatusPanel_);
    StatusBar1->addWidget(blankPanel_);
    setStatusBar(StatusBar1);
}

void TForm2::buildEditors()
{
    // Children of the window, not of the grid, placed over the cell on demand.
    auto box = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->hide();
        edit->installEventFilter(this);
        installFrequencyFilter(edit);
        return edit;
    };
    t1 = box("t1");
    t2 = box("t2");

    auto list = [this](const char* name, const std::vector<std::string>& items) {
        QComboBox* combo = pickOnlyList(items, this);
        combo->setObjectName(QString::fromLatin1(name));
        combo->hide();
        return combo;
    };
    t3 = list("t3", zk::toneList());
    t4 = list("t4", zk::toneList());
    t5 = list("t5", zk::powerList());
    t6 = list("t6", zk::bandwidthList());
    connect(t3, &QComboBox::activated, this, &TForm2::t3Click);
    connect(t4, &QComboBox::activated, this, &TForm2::t4Click);
    connect(t5, &QComboBox::activated, this, &TForm2::t5Click);
    connect(t6, &QComboBox::activated, this, &TForm2::t6Click);
    for (QComboBox* combo : {t3, t4, t5, t6}) {
        // A scrolling list of about twenty rows, not one as tall as the screen.
        combo->setStyleSheet(QStringLiteral("combobox-popup: 0;"));
        combo->setMaxVisibleItems(20);
    }

    // The current cell, as decimal text.
    Col = new QLineEdit(this);
    Col->setObjectName(QStringLiteral("Col"));
    Col->hide();
    Row = new QLineEdit(this);
    Row->setObjectName(QStringLiteral("Row"));
    Row->hide();
}

void TForm2::showWholeTable()
{
    for (int r = 0; r < zk::kRows; ++r)
        for (int c = 0; c < zk::kColumns; ++c)
            cellChanged(c, r);
    for (int s = 0; s < zk::kSettings; ++s)
        settingChanged(s);
    bandChanged(table_.band());
}

// ---- The widgets follow the table --------------------------------------

void TForm2::cellChanged(int column, int row)
{
    StringGrid1->item(row, column)->setText(qtext(table_.cell(column, row)));
    planChanged();
}

void TForm2::settingChanged(int setting)
{
    // A programmatic change: it does not count as the user's pick.
    settingsLists_[static_cast<std::size_t>(setting)]->setCurrentIndex(table_.setting(setting));
    planChanged();
}

void TForm2::bandChanged(int band)
{
    for (std::size_t i = 0; i < bandItems_.size(); ++i)
        bandItems_[i]->setChecked(static_cast<int>(i) + 1 == band);
}

// ---- Creation step and port set-up ---------------------------------------

void TForm2::FormCreate()
{
    zk::guarded(messages_, [this] {
        table_.setBand(1);
        for (int r = 1; r < zk::kRows; ++r)
            table_.setCell(zk::ColChannel, r, std::to_string(r));
        StringGrid1->setColumnWidth(0, kChannelColumnWidth);
        for (int c = 1; c < zk::kColumns; ++c)
            StringGrid1->setColumnWidth(c, kCellColumnWidth);
        for (int c = 0; c < zk::kColumns; ++c)
            table_.setCell(c, 0, zk::columnHeaders()[static_cast<std::size_t>(c)]);
        portSetupFirstHalf();
        for (int s = 0; s < zk::kSettings; ++s)
            table_.setSetting(s, 0);
        portSetupSecondHalf();
        // The grid starts on the first channel cell, as if nothing was chosen yet.
        StringGrid1->setCurrentCell(1, 1);
    });
}

void TForm2::portSetupFirstHalf()
{
    const std::vector<std::string> ports = zk::portChoices(portSources_);
    for (const std::string& port : ports)
        ComboBox1->addItem(qtext(port));
    if (ComboBox1->count() == 0) {
        setPortStatusText(QString::fromLatin1(zk::port::kNoPort));
        return;
    }
    // The first port, passing over consoles: those open only when picked.
    const int first = zk::firstNonConsole(ports, portSources_.sysRoot);
    ComboBox1->setCurrentIndex(first < 0 ? 0 : first);
    const QString name = ComboBox1->currentText();
    if (first < 0) {
        setPortStatusText(qtext(zk::port::statusAfterOpen(false, name.toStdString())));
        portStatusPanel_->setToolTip(qtext(zk::port::consoleNotOpened(name.toStdString())));
        return;
    }
    setPortStatusText(qtext(zk::port::statusAfterOpen(openPort(name), name.toStdString())));
}

void TForm2::portSetupSecondHalf()
{
    zk::switchOffSoftwareFlowControl(Comm1);
}

bool TForm2::openPort(const QString& name)
{
    Comm1.SetCommName(name.toStdString());
    try {
        Comm1.OpenPort();
        portStatusPanel_->setToolTip(QString());
        portOpened(name.toStdString());
        return true;
    } catch (const ECommsError& e) {
        // The status keeps its short text; the reason is one hover away.
        portStatusPanel_->setToolTip(qtext(describeOpenFailure(name.toStdString(), e.osError())));
        return false;
    }
}

void TForm2::closePort()
{
    Comm1.ClosePort();
}

bool TForm2::portReady() const
{
    return portStatusText() == Label1->text() + ComboBox1->currentText();
}

void TForm2::ComboBox1Click()
{
    zk::guarded(messages_, [this] {
        if (zk::port::statusShowsOpenPort(portStatusText().toStdString()))
            closePort();
        const QString name = ComboBox1->currentText();
        setPortStatusText(qtext(zk::port::statusAfterOpen(openPort(name), name.toStdString())));
    });
}

QString TForm2::portStatusText() const
{
    return portStatusPanel_->text();
}

void TForm2::setPortStatusText(const QString& text)
{
    portStatusPanel_->setText(text);
}

void TForm2::settingPicked(int setting, int index)
{
    zk::guarded(messages_, [&] {
        history_.record(QStringLiteral("Setting"), [&] { table_.setSetting(setting, index); });
        ComboBox1Click();
    });
}
