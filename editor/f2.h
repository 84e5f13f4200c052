#pragma once
// TForm2, the main window: the channel editor. It owns the channel table and
// follows it as the table's listener; menus, tool bar, grid, in-place editors
// and settings lists only move texts between the widgets and the table.
#include "ActionTable.h"
#include "ChannelTable.h"
#include "PlanHistory.h"
#include "RadioLink.h"
#include "SerialPortList.h"
#include "TComm.h"
#include "TransferEngine.h"
#include "UserMessages.h"

#include <QCoreApplication>
#include <QMainWindow>

#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QPrinter;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;
class QFrame;
class QStatusBar;

namespace zk {
class CellEditors;
class ChannelGrid;
class GridClipboard;
class PortChoice;
class RadioCommands;
}

// The window's texts come from the model as UTF-8 std::string.
inline QString qtext(const std::string& text)
{
    return QString::fromStdString(text);
}

class TForm2 : public QMainWindow, private zk::ChannelTableListener {
    Q_OBJECT
public:
    // Runs the creation step (FormCreate) before returning; the window stays
    // hidden until someone shows it.
    // ports says where the port list comes from.
    TForm2(zk::UserMessages& messages, zk::FileDialogs& dialogs, QWidget* parent = nullptr,
           zk::PortSources ports = {});
    ~TForm2() override;

    zk::ChannelTable& table() { return table_; }
    const zk::ChannelTable& table() const { return table_; }

    // First status panel: whether the chosen port is open. Its tooltip
    // gives the reason when the last open failed.
    QString portStatusText() const;

    // The radio link: the reply text collected from Comm1, and the read and
    // write procedures the dialogs run.
    zk::RadioLink& radioLink() { return link_; }
    zk::TransferEngine& transferEngine() { return engine_; }
    // True when the status says the port chosen in ComboBox1 is open.
    bool portReady() const;

    TComm Comm1;

    // Commands that other windows carry out; unset hooks do nothing.
    std::function<void()> onRead;           // N6 "Read"
    std::function<void()> onWrite;          // N7 "Write"
    std::function<void()> onRemark;         // N13 "Remark"
    std::function<void()> onChangePassword; // N14 "Change PassWord"
    // Chooses the printer for Print; false cancels. The print dialog by default.
    std::function<bool(QPrinter&)> choosePrinter;
    // Runs when "Do you want to close?" is answered Yes. It ends the event
    // loop with QCoreApplication::exit(0), not quit(): in Qt 6 quit() first
    // closes every window and so would ask each close question again.
    std::function<void()> onQuit = [] { QCoreApplication::exit(0); };
    // Where Backup Radio proposes to keep its images; none when empty.
    std::string backupFolder;

public slots:
    void N1Click();  // New
    void N2Click();  // Open
    void N3Click();  // Save
    void N4Click();  // Quit
    void N6Click();  // Read
    void N7Click();  // Write
    void N9Click();  // band 1
    void N10Click(); // band 2
    void N11Click(); // band 3
    void N13Click(); // Remark
    void N14Click(); // Change PassWord
    void N15Click(); // Quit(Q)
    void N16Click(); // band 4
    void N17Click(); // band 5
    void connectionCheckClick(); // Help, "Connection Check"
    void verifyClick();          // Edit, "Verify"
    void backupClick();          // Edit, "Backup Radio..."
    void restoreClick();         // Edit, "Restore Radio..."
    // Port choice; runs after every pick in ComboBox1 and in c1..c5.
    void ComboBox1Click();

public:
    // An in-place frequency box still open is committed, as if the user had
    // left it; false when the commit was refused, and then the command that
    // asked must not run.
    bool commitOpenEditor();
    // A read from the radio replaces the table: any open editor goes without
    // writing, and the read becomes one undo step.
    void replaceByRead(const std::function<void()>& read);
    // Opens a channel file as Open does once its dialog has chosen it.
    // ask: first the question about unsaved changes.
    void openPlanFile(const std::string& path, bool ask = true);
    // Opens path as soon as the window is first shown (after the login).
    void openWhenShown(std::string path) { pendingPlan_ = std::move(path); }
    zk::PlanHistory& history() { return history_; }
    // Lays the window out for a screen area: the design size when it fits,
    // otherwise resizable with scrolling contents.
    void fitToScreen(const QRect& available);

protected:
    // The close box (FormCloseQuery): asks first, No keeps the window.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // ChannelTableListener: the widgets follow the table.
    void cellChanged(int column, int row) override;
    void settingChanged(int setting) override;
    void bandChanged(int band) override;
    // The status bar names the channels that lie outside the current band.
    void showBandNote();

    friend std::span<const zk::actions::Entry> zk::actions::menuEntries();

    void buildActions();
    void buildPanels();
    void buildEditors();
    void showWholeTable();

    void FormCreate();

    // In-place editing.
    void StringGrid1SelectCell(int column, int row);
    bool t1KeyPress(QKeyEvent* event);
    bool t2KeyPress(QKeyEvent* event);
    void t1Exit();
    void t2Exit();
    void t3Click(int index);
    void t4Click(int index);
    void t5Click(int index);
    void t6Click(int index);
    void listPicked(QComboBox* list, int index);

    void bandMenuClick(int band);
    void settingPicked(int setting, int index);
    bool askToQuit();

    // Unsaved changes and history.
    // Asks Save / Discard / Cancel when the plan differs from its file; true
    // when the command may go on. commitFirst: an open edit is part of the plan.
    bool settleUnsavedChanges(bool commitFirst = true);
    // Before a command that drops the plan (New, Quit): with unsaved changes
    // their question alone, whose Save or Discard already says go on;
    // otherwise the command's own question.
    bool mayDropPlan(const char* question);
    bool saveTo(const std::string& chosen);
    bool runSave();
    void discardOpenEditors();
    void planChanged();
    void undoClick();
    void redoClick();
    void stepHistory(void (QUndoStack::*step)());
    void fillRecentMenu();
    void remember(const std::string& path);

    // Clipboard.
    void copyClick();
    void cutClick();
    void pasteClick();
    void deleteClick();

    // Printing.
    void printClick();
    void exportPdfClick();

    // CSV channel lists (f2Csv.cpp).
    void importCsvClick();
    void exportCsvClick();
    void newFromListClick();
    // The import dialog for the list at path; its Import replaces the plan.
    void chooseListRows(const std::string& path, const QString& title, const QString& note);

    zk::UserMessages& messages_;
    zk::FileDialogs& dialogs_;
    zk::ChannelTable table_;
    zk::RadioLink link_;
    zk::TransferEngine engine_;
    zk::PlanHistory history_;
    std::string pendingPlan_;
    std::string planFile_; // the file the plan was opened from or saved to; empty for none
    std::unique_ptr<zk::CellEditors> editors_;
    std::unique_ptr<zk::GridClipboard> clipboard_;
    std::unique_ptr<zk::PortChoice> portChoice_;
    std::unique_ptr<zk::RadioCommands> radioCommands_;

    std::array<QAction*, zk::kBands> bandItems_{}; // N9, N10, N11, N16, N17
    QList<QAction*> gridKeys_;                     // Cut, Copy, Paste, Delete
    QMenu* recentMenu_ = nullptr;

    QToolBar* ToolBar1 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    zk::ChannelGrid* StringGrid1 = nullptr;
    QFrame* Panel2 = nullptr;
    std::array<QComboBox*, zk::kSettings> settingsLists_{}; // c1..c5
    QStatusBar* StatusBar1 = nullptr;
    QLabel* portStatusPanel_ = nullptr;
    QLabel* blankPanel_ = nullptr;
    QLabel* bandNote_ = nullptr;

    QLineEdit* t1 = nullptr;
    QLineEdit* t2 = nullptr;
    QComboBox* t3 = nullptr;
    QComboBox* t4 = nullptr;
    QComboBox* t5 = nullptr;
    QComboBox* t6 = nullptr;

    QLineEdit* Col = nullptr;
    QLineEdit* Row = nullptr;
};
