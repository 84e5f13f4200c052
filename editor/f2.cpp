// TForm2's make-up, its creation step, the widgets following the table, and
// the handlers of the port list and the settings lists.
#include "f2.h"

#include "ActionMenus.h"
#include "CellEditors.h"
#include "ChannelGrid.h"
#include "EventLoopWait.h"
#include "GridClipboard.h"
#include "Guarded.h"
#include "Lists.h"
#include "PlanBand.h"
#include "PortChoice.h"
#include "PortConnection.h"
#include "PortStatus.h"
#include "RadioCommands.h"
#include "ScreenFit.h"

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

constexpr int kPortPanelHeight = 49;
constexpr QSize kGridSize(865, 433);
constexpr int kSettingsPanelHeight = 121;
constexpr int kStatusBarHeight = 35;
constexpr int kStatusPanelWidth = 200;
constexpr int kChannelColumnWidth = 70;
constexpr int kCellColumnWidth = 120;

} // namespace

TForm2::TForm2(zk::UserMessages& messages, zk::FileDialogs& dialogs, QWidget* parent, zk::PortSources ports)
    : QMainWindow(parent)
    , messages_(messages)
    , dialogs_(dialogs)
    , link_(zk::sendThrough(Comm1), [this] { return portReady(); }, zk::pumpEventsFor)
    , engine_(link_, table_)
    , history_(table_)
{
    zk::receiveInto(Comm1, link_);
    setObjectName(QStringLiteral("TForm2"));
    // A system menu and a minimise button, no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(zk::kDesignWindowSize);
    setAcceptDrops(true);

    buildActions();
    buildPanels();
    buildEditors();
    portChoice_ = std::make_unique<zk::PortChoice>(Comm1, *ComboBox1, *portStatusPanel_, link_, engine_, messages_,
                                                   std::move(ports));
    radioCommands_ = std::make_unique<zk::RadioCommands>(engine_, table_, messages_, dialogs_, *this,
                                                         backupFolder, [this] { return commitOpenEditor(); });

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
    portChoice_.reset();
    Comm1.OnReceiveData = nullptr;
    Comm1.ClosePort();
}

void TForm2::buildActions()
{
    const zk::MainActions made = zk::buildMainActions(*this);
    bandItems_ = made.bands;
    ToolBar1 = made.toolBar;
    recentMenu_ = made.recent;
    connect(recentMenu_, &QMenu::aboutToShow, this, &TForm2::fillRecentMenu);
    QAction* undo = made.byName.value(QStringLiteral("Undo"));
    QAction* redo = made.byName.value(QStringLiteral("Redo"));
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(&history_.stack(), &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(&history_.stack(), &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    gridKeys_ = made.gridKeys;
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
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (editors_)
                editors_->placeOpen();
        });
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
    connect(StringGrid1, &zk::ChannelGrid::listRequested, this,
            [this] { zk::guarded(messages_, [this] { editors_->openList(); }); });
    connect(StringGrid1, &zk::ChannelGrid::typedOnCell, this, [this](int c, int r, const QString& typed) {
        zk::guarded(messages_, [&] { editors_->startTyping(c, r, typed); });
    });
    // Cut, Copy, Paste and Delete act on the cells only while the grid has
    // the keyboard: Delete in a settings list must not empty channels.
    StringGrid1->addActions(gridKeys_);
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
        QComboBox* list = zk::pickOnlyList(zk::settingsList(s), Panel2);
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
    bandNote_ = new QLabel(StatusBar1);
    bandNote_->setObjectName(QStringLiteral("BandNote"));
    StatusBar1->addWidget(portStatusPanel_);
    StatusBar1->addWidget(blankPanel_);
    StatusBar1->addWidget(bandNote_, 1);
    setStatusBar(StatusBar1);
}

void TForm2::buildEditors()
{
    editors_ = std::make_unique<zk::CellEditors>(*this, *StringGrid1, table_, history_, messages_, *this);
    t1 = editors_->t1;
    t2 = editors_->t2;
    t3 = editors_->t3;
    t4 = editors_->t4;
    t5 = editors_->t5;
    t6 = editors_->t6;
    Col = editors_->Col;
    Row = editors_->Row;
    clipboard_ = std::make_unique<zk::GridClipboard>(*StringGrid1, *editors_, table_, history_, messages_);
    editors_->copyCell = [this] { copyClick(); };
    editors_->pasteCell = [this] { pasteClick(); };
    connect(t3, &QComboBox::activated, this, &TForm2::t3Click);
    connect(t4, &QComboBox::activated, this, &TForm2::t4Click);
    connect(t5, &QComboBox::activated, this, &TForm2::t5Click);
    connect(t6, &QComboBox::activated, this, &TForm2::t6Click);
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
    if (column == zk::ColRx || column == zk::ColTx)
        showBandNote();
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
    showBandNote();
}

void TForm2::showBandNote()
{
    bandNote_->setText(qtext(zk::outsideBandNote(zk::channelsOutsideBand(table_, table_.band()), table_.band())));
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
        portChoice_->setUpFirstHalf();
        for (int s = 0; s < zk::kSettings; ++s)
            table_.setSetting(s, 0);
        portChoice_->setUpSecondHalf();
        // The grid starts on the first channel cell, as if nothing was chosen yet.
        StringGrid1->setCurrentCell(1, 1);
    });
}

bool TForm2::portReady() const
{
    return portChoice_ && portChoice_->ready();
}

void TForm2::ComboBox1Click()
{
    zk::guarded(messages_, [this] { portChoice_->choose(); });
}

QString TForm2::portStatusText() const
{
    return portStatusPanel_->text();
}

void TForm2::settingPicked(int setting, int index)
{
    zk::guarded(messages_, [&] {
        history_.record(QStringLiteral("Setting"), [&] { table_.setSetting(setting, index); });
        ComboBox1Click();
    });
}
