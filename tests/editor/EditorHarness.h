#pragma once
// Drives a real TForm2 offscreen the way a user does: clicks on grid cells,
// typing into whatever has the focus, menu and tool-bar clicks. The message
// and dialog seams are the recording doubles.
#include "ChannelFile.h"
#include "EditRules.h"
#include "FakeUi.h"
#include "NoSerialPorts.h"
#include "WaitUntil.h"
#include "f2.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace zk::test {

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { openWindow(noSerialPorts()); }

    // A fresh window in place of the one there, with these ports to choose from.
    void openWindow(const PortSources& ports)
    {
        window.reset();
        window = std::make_unique<TForm2>(messages, dialogs, nullptr, ports);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void TearDown() override { window.reset(); }

    template <typename T>
    T* child(const char* name) const
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QTableWidget* grid() const { return child<QTableWidget>("StringGrid1"); }
    QLineEdit* box(int column) const { return child<QLineEdit>(column == 1 ? "t1" : "t2"); }
    QComboBox* list(const char* name) const { return child<QComboBox>(name); }
    QAction* action(const char* name) const { return child<QAction>(name); }

    std::string cell(int column, int row) const { return window->table().cell(column, row); }
    // What the grid shows, which must follow the table.
    std::string shown(int column, int row) const { return grid()->item(row, column)->text().toStdString(); }

    QRect cellRect(int column, int row) const { return grid()->visualRect(grid()->model()->index(row, column)); }

    void clickCell(int column, int row)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, cellRect(column, row).center());
    }

    // Clicks a frequency cell and checks that its box came up with the focus.
    QLineEdit* openBox(int column, int row)
    {
        clickCell(column, row);
        QLineEdit* edit = box(column);
        EXPECT_TRUE(edit->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), edit);
        return edit;
    }

    void type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

    // Clicks the cell, empties its box with Backspace, types text and presses Enter.
    void enterFrequency(int column, int row, const QString& text)
    {
        QLineEdit* edit = openBox(column, row);
        for (int i = static_cast<int>(edit->text().size()); i > 0; --i)
            press(Qt::Key_Backspace);
        type(text);
        press(Qt::Key_Return);
    }

    // Fills a row through the table, as a file or a read from the radio would.
    void loadRow(int row, const std::string& rx, const std::string& tx, const std::string& decode = "0FF",
                 const std::string& encode = "0FF", const std::string& power = "High",
                 const std::string& bandwidth = "Wide")
    {
        const std::string cells[] = {rx, tx, decode, encode, power, bandwidth};
        for (int c = 1; c <= 6; ++c)
            window->table().setCell(c, row, cells[c - 1]);
    }

    void clickToolButton(const char* actionName)
    {
        QWidget* button = child<QToolBar>("ToolBar1")->widgetForAction(action(actionName));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Opens a menu of the menu bar by clicking its title, then clicks the item.
    void clickMenuItem(const char* menuName, const char* actionName)
    {
        QMenuBar* bar = window->menuBar();
        QMenu* menu = child<QMenu>(menuName);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(waitUntil([&] { return menu->isVisible(); })) << menuName;
        QAction* item = action(actionName);
        QTest::mouseMove(menu, menu->actionGeometry(item).center());
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
        ASSERT_TRUE(waitUntil([&] { return !menu->isVisible(); })) << actionName;
    }

    // Opens a pick-only list with the mouse and picks an item with the
    // keyboard in its pop-up, as a user scrolling through it would.
    void pickFromList(QComboBox* combo, int index)
    {
        QTest::mouseClick(combo, Qt::LeftButton);
        QAbstractItemView* view = combo->view();
        ASSERT_TRUE(waitUntil([&] { return view->isVisible(); })) << combo->objectName().toStdString();
        int row = view->currentIndex().row();
        for (; row < index; ++row)
            QTest::keyClick(view, Qt::Key_Down);
        for (; row > index; --row)
            QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
        ASSERT_TRUE(waitUntil([&] { return !view->isVisible(); }));
    }

    RecordingMessages messages;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<TForm2> window;
};

} // namespace zk::test
