#include "f2.h"

#include "ChannelFile.h"
#include "ChannelGrid.h"
#include "EditRules.h"
#include "Errors.h"
#include "Lists.h"
#include "PortStatus.h"
#include "ToolIcons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>
#include <filesystem>
#include <string>

namespace {

constexpr int kWindowWidth = 889;
constexpr int kWindowHeight = 770;
constexpr int kToolBarHeight = 57;
constexpr QSize kToolButtonSize(53, 52);
constexpr int kPortPanelHeight = 49;
constexpr QSize kGridSize(865, 433);
constexpr int kSettingsPanelHeight = 121;
constexpr int kStatusBarHeight = 35;
constexpr int kStatusPanelWidth = 200;
constexpr int kChannelColumnWidth = 70;
constexpr int kCellColumnWidth = 120;
constexpr int kEditBoxHeight = 25;

const char* const kChannelFileFilter = "*.bc";

QString qtext(const std::string& text)
{
    return QString::fromStdString(text);
}

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

template <typename Handler>
void TForm2::guarded(Handler&& handler)
{
    // Qt lets no exception cross the event loop: the handler stops at the
    // failing step, keeps what it already changed, and the user is told.
    try {
        handler();
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
}

TForm2::TForm2(zk::UserMessages& messages, zk::FileDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent)
    , messages_(messages)
    , dialogs_(dialogs)
{
    setObjectName(QStringLiteral("TForm2"));
    // A system menu and a minimise button, no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kWindowWidth, kWindowHeight);

    buildMenu();
    buildToolBar();
    buildPanels();
    buildEditors();

    showWholeTable();
    table_.setListener(this);
    FormCreate();
}

TForm2::~TForm2()
{
    // Children are destroyed after this body; none of them may reach the
    // handlers of a half-destroyed window any more.
    table_.setListener(nullptr);
    t1->removeEventFilter(this);
    t2->removeEventFilter(this);
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

    QMenu* file = bar->addMenu(QStringLiteral("File(F)"));
    file->setObjectName(QStringLiteral("MenuFile"));
    item(N1, "N1", "New", &TForm2::N1Click);
    item(N2, "N2", "Open", &TForm2::N2Click);
    item(N3, "N3", "Save", &TForm2::N3Click);
    item(N4, "N4", "Quit", &TForm2::N4Click);
    file->addActions({N1, N2, N3, N4});

    QMenu* edit = bar->addMenu(QStringLiteral("Edit(E)"));
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

    QMenu* help = bar->addMenu(QStringLiteral("Help(H)"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    item(N13, "N13", "Remark", &TForm2::N13Click);
    item(N14, "N14", "Change PassWord", &TForm2::N14Click);
    help->addActions({N13, N14});

    item(N15, "N15", "Quit(Q)", &TForm2::N15Click);
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
    auto* central = new QWidget(this);
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
    setCentralWidget(central);

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
}

void TForm2::settingChanged(int setting)
{
    // A programmatic change: it does not count as the user's pick.
    settingsLists_[static_cast<std::size_t>(setting)]->setCurrentIndex(table_.setting(setting));
}

void TForm2::bandChanged(int band)
{
    for (std::size_t i = 0; i < bandItems_.size(); ++i)
        bandItems_[i]->setChecked(static_cast<int>(i) + 1 == band);
}

// ---- Creation step and port set-up ---------------------------------------

void TForm2::FormCreate()
{
    guarded([this] {
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
    // The serial port list is filled here once port enumeration is wired in;
    // until then ComboBox1 stays empty and the status says so.
    if (ComboBox1->count() == 0) {
        setPortStatusText(QString::fromLatin1(zk::port::kNoPort));
        return;
    }
    ComboBox1->setCurrentIndex(0);
    const QString name = ComboBox1->currentText();
    setPortStatusText(qtext(zk::port::statusAfterOpen(openPort(name), name.toStdString())));
}

void TForm2::portSetupSecondHalf()
{
    // XON/XOFF flow control of the serial component is switched off here,
    // after the first open, once the component is wired in.
}

bool TForm2::openPort(const QString& name)
{
    // No serial component is attached yet, so every open attempt fails, as
    // it does for a port that cannot be opened.
    Q_UNUSED(name);
    return false;
}

void TForm2::closePort()
{
}

void TForm2::ComboBox1Click()
{
    guarded([this] {
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
    guarded([&] {
        table_.setSetting(setting, index);
        ComboBox1Click();
    });
}

// ---- In-place editing -----------------------------------------------------

int TForm2::currentColumn() const
{
    return Col->text().toInt();
}

int TForm2::currentRow() const
{
    return Row->text().toInt();
}

QRect TForm2::editorRect(int column, int row, int height) const
{
    const QRect cell = StringGrid1->visualRect(StringGrid1->model()->index(row, column));
    const QPoint grid = StringGrid1->mapTo(this, QPoint(0, 0));
    return QRect(grid.x() + cell.left(), grid.y() + cell.top(), cell.width() + 2, height);
}

void TForm2::hideEditors()
{
    for (QWidget* editor : {static_cast<QWidget*>(t1), static_cast<QWidget*>(t2), static_cast<QWidget*>(t3),
                            static_cast<QWidget*>(t4), static_cast<QWidget*>(t5), static_cast<QWidget*>(t6)})
        editor->hide();
}

void TForm2::StringGrid1SelectCell(int column, int row)
{
    guarded([&] {
        Col->setText(QString::number(column));
        Row->setText(QString::number(row));
        if (column == zk::ColRx || column == zk::ColTx) {
            hideEditors();
            QLineEdit* box = column == zk::ColRx ? t1 : t2;
            box->setGeometry(editorRect(column, row, kEditBoxHeight));
            box->show();
            box->raise();
            box->setFocus(Qt::OtherFocusReason);
            box->setText(qtext(table_.cell(column, row)));
        } else if (column >= zk::ColDecode && column <= zk::ColBandwidth) {
            hideEditors();
            // Tones, power and bandwidth only belong to a row with a frequency.
            if (table_.rowIsEmpty(row))
                return;
            QComboBox* lists[] = {t3, t4, t5, t6};
            QComboBox* list = lists[column - zk::ColDecode];
            list->setGeometry(editorRect(column, row, list->sizeHint().height()));
            list->setCurrentIndex(0);
            list->show();
            list->raise();
        }
    });
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != t1 && watched != t2)
        return QMainWindow::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        bool swallowed = false;
        guarded([&] {
            auto* key = static_cast<QKeyEvent*>(event);
            swallowed = watched == t1 ? t1KeyPress(key) : t2KeyPress(key);
        });
        return swallowed;
    }
    if (event->type() == QEvent::FocusOut) {
        // Opening a menu, or another window becoming active, does not end the
        // edit: the box stays open and commits when the focus really moves on.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::MenuBarFocusReason) {
            if (watched == t1)
                t1Exit();
            else
                t2Exit();
        }
    }
    return false;
}

bool TForm2::t1KeyPress(QKeyEvent* event)
{
    return frequencyKeyPress(t1, event);
}

bool TForm2::t2KeyPress(QKeyEvent* event)
{
    return frequencyKeyPress(t2, event);
}

bool TForm2::frequencyKeyPress(QLineEdit* box, QKeyEvent* event)
{
    char32_t typed = 0;
    switch (event->key()) {
    case Qt::Key_Backspace:
        typed = zk::edit::kBackspace;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        typed = zk::edit::kEnter;
        break;
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false; // editing and focus keys, not typed characters
    default:
        if (event->text().isEmpty())
            return false; // cursor keys and the like type nothing
        typed = event->text().toUcs4().value(0);
        break;
    }

    switch (zk::edit::filterKey(static_cast<std::size_t>(box->text().size()), typed)) {
    case zk::edit::KeyAction::Pass:
        return false;
    case zk::edit::KeyAction::Drop:
        return true;
    case zk::edit::KeyAction::EndEdit:
        // Hiding the focused box moves the focus on, which commits it; the
        // grid then keeps the keyboard.
        box->hide();
        if (QApplication::focusWidget() != StringGrid1)
            StringGrid1->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return true;
}

void TForm2::t1Exit()
{
    guarded([this] { frequencyCommit(t1, zk::ColRx); });
}

void TForm2::t2Exit()
{
    guarded([this] { frequencyCommit(t2, zk::ColTx); });
}

void TForm2::frequencyCommit(QLineEdit* box, int column)
{
    const int row = currentRow();
    if (row < 1 || row > zk::kChannels)
        return; // no cell was ever selected
    const int other = column == zk::ColRx ? zk::ColTx : zk::ColRx;
    auto emptyCell = [&] {
        table_.setCell(column, row, std::string());
        if (table_.cell(other, row).empty())
            for (int c = zk::ColDecode; c <= zk::ColBandwidth; ++c)
                table_.setCell(c, row, std::string());
    };

    const int low = table_.lowLimit();
    const int high = table_.highLimit();
    const zk::edit::CommitDecision decision = zk::edit::decideFrequencyCommit(
        box->text().toStdString(), table_.cell(column, row), table_.cell(other, row), low, high);

    switch (decision.kind) {
    case zk::edit::CommitKind::EmptyEntry:
        // The box stays as it is.
        emptyCell();
        return;
    case zk::edit::CommitKind::NotANumber:
        // The cell keeps its text and the box its typing, for a correction.
        throw zk::invalidFloatError(decision.text);
    case zk::edit::CommitKind::Refuse:
        messages_.notice(zk::edit::rangeMessage(column, low, high));
        emptyCell();
        break;
    case zk::edit::CommitKind::Write:
        table_.setCell(column, row, decision.text);
        break;
    case zk::edit::CommitKind::WriteWithDefaults:
        table_.setCell(column, row, decision.text);
        table_.setCell(zk::ColDecode, row, zk::edit::kDefaultDecodeTone);
        table_.setCell(zk::ColEncode, row, zk::edit::kDefaultEncodeTone);
        table_.setCell(zk::ColPower, row, zk::edit::kDefaultPower);
        table_.setCell(zk::ColBandwidth, row, zk::edit::kDefaultBandwidth);
        break;
    }
    box->clear();
    box->hide();
}

void TForm2::t3Click(int index)
{
    listCommit(t3, index);
}

void TForm2::t4Click(int index)
{
    listCommit(t4, index);
}

void TForm2::t5Click(int index)
{
    listCommit(t5, index);
}

void TForm2::t6Click(int index)
{
    listCommit(t6, index);
}

void TForm2::listCommit(QComboBox* list, int index)
{
    guarded([&] {
        table_.setCell(currentColumn(), currentRow(), list->itemText(index).toStdString());
        list->hide();
    });
}

// ---- Bands ---------------------------------------------------------------

void TForm2::bandMenuClick(int band)
{
    guarded([&] {
        // Channels of another band would not fit it: changing the band starts
        // an empty plan. The band already current keeps everything.
        if (table_.band() != band)
            table_.clearChannels();
        table_.setBand(band);
    });
}

void TForm2::N9Click()
{
    bandMenuClick(1);
}

void TForm2::N10Click()
{
    bandMenuClick(2);
}

void TForm2::N11Click()
{
    bandMenuClick(3);
}

void TForm2::N16Click()
{
    bandMenuClick(4);
}

void TForm2::N17Click()
{
    bandMenuClick(5);
}

// ---- File commands -------------------------------------------------------

void TForm2::N1Click()
{
    guarded([this] {
        if (!messages_.confirm("Do you want to New?"))
            return;
        table_.clearChannels();
        table_.resetSettings();
    });
}

void TForm2::N2Click()
{
    guarded([this] {
        const auto path = dialogs_.openFile("Open", kChannelFileFilter);
        if (!path)
            return;
        // Rows and settings are replaced as far as the file goes; an error
        // leaves the earlier ones loaded.
        zk::openChannelFile(*path, table_);
    });
}

void TForm2::N3Click()
{
    guarded([this] {
        const auto chosen = dialogs_.saveFile("Save", kChannelFileFilter);
        if (!chosen)
            return;
        const std::string path = zk::channelFileName(*chosen);
        // The dialog asked about the name it returned; the completed name is
        // another file, so ask about that one too before replacing it.
        if (path != *chosen && std::filesystem::exists(path)) {
            const std::string name = std::filesystem::path(path).filename().string();
            if (!messages_.confirm(name + " already exists. Do you want to replace it?"))
                return;
        }
        zk::saveChannelFile(path, table_);
        messages_.notice("Save success!");
    });
}

// ---- Other commands and quitting ------------------------------------------

void TForm2::N6Click()
{
    guarded([this] {
        if (onRead)
            onRead();
    });
}

void TForm2::N7Click()
{
    guarded([this] {
        if (onWrite)
            onWrite();
    });
}

void TForm2::N13Click()
{
    guarded([this] {
        if (onRemark)
            onRemark();
    });
}

void TForm2::N14Click()
{
    guarded([this] {
        if (onChangePassword)
            onChangePassword();
    });
}

bool TForm2::askToQuit()
{
    bool quit = false;
    guarded([&] {
        quit = messages_.confirm("Do you want to close?");
        // Yes ends the whole program, not only this window.
        if (quit && onQuit)
            onQuit();
    });
    return quit;
}

void TForm2::N4Click()
{
    askToQuit();
}

void TForm2::N15Click()
{
    askToQuit();
}

void TForm2::closeEvent(QCloseEvent* event)
{
    // FormCloseQuery: No keeps the window open and everything as it was.
    if (!askToQuit()) {
        event->ignore();
        return;
    }
    event->accept();
}
