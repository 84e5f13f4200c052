// Every control of the main window can be reached on the screen the test
// runs on. CTest runs this on a desktop screen, on a 1366 x 768 laptop and
// at 150 % on 1280 x 1024 (ZK_TEST_SCREEN, QT_SCALE_FACTOR).
#include "EditorHarness.h"
#include "ScreenFit.h"
#include "ToolIcons.h"

#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>

namespace zk::test {
namespace {

class AnyScreen : public EditorTest {
protected:
    // Brings w (or the point of it) into view as a user scrolling would, and
    // says whether it is then wholly inside the window's visible part.
    bool reachable(QWidget* w, const QRect& part = QRect())
    {
        const QRect area = part.isNull() ? w->rect() : part;
        auto* scroll = child<QScrollArea>("ContentsScroll");
        QRect visible = window->rect();
        if (scroll->widget()->isAncestorOf(w)) {
            const QRect inContents(w->mapTo(scroll->widget(), area.topLeft()), area.size());
            scroll->ensureVisible(inContents.center().x(), inContents.center().y(), inContents.width() / 2 + 1,
                                  inContents.height() / 2 + 1);
            QApplication::processEvents();
            visible = QRect(scroll->viewport()->mapTo(window.get(), QPoint(0, 0)), scroll->viewport()->size());
        }
        const QRect onWindow(w->mapTo(window.get(), area.topLeft()), area.size());
        return w->isVisible() && visible.contains(onWindow);
    }
};

TEST_F(AnyScreen, EveryControlCanBeReached)
{
    const QRect available = window->screen()->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    EXPECT_LE(frame.width(), available.width());
    EXPECT_LE(frame.height(), available.height());
    const bool designFits = available.width() >= 889 + (frame.width() - window->width())
                            && available.height() >= 770 + (frame.height() - window->height());
    if (designFits) {
        EXPECT_EQ(window->size(), QSize(889, 770));
        EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the design size, fixed";
    } else {
        EXPECT_LT(window->minimumSize().height(), window->maximumSize().height()) << "resizable";
    }

    QList<QWidget*> controls;
    for (QToolButton* button : child<QToolBar>("ToolBar1")->findChildren<QToolButton*>())
        if (button->defaultAction())
            controls << button;
    for (const char* name : {"ComboBox1", "c1", "c2", "c3", "c4", "c5"})
        controls << list(name);
    controls << child<QWidget>("StatusPanel1") << child<QWidget>("StatusPanel2");
    ASSERT_EQ(controls.size(), 15);
    for (QWidget* control : controls)
        EXPECT_TRUE(reachable(control)) << control->objectName().toStdString();
    for (const auto& [column, row] : {std::pair{1, 1}, std::pair{6, 1}, std::pair{1, 16}, std::pair{6, 16}})
        EXPECT_TRUE(reachable(grid()->viewport(), cellRect(column, row))) << column << "," << row;
    EXPECT_TRUE(window->menuBar()->isVisible());
    EXPECT_TRUE(window->rect().contains(window->menuBar()->actionGeometry(action("N15"))));
}

TEST_F(AnyScreen, AnOpenBoxStaysOverItsCellWhileTheContentsScroll)
{
    QScrollBar* bar = child<QScrollArea>("ContentsScroll")->verticalScrollBar();
    if (bar->maximum() == 0)
        GTEST_SKIP() << "the window has its design size here; nothing scrolls";
    QLineEdit* t1 = openBox(1, 16);
    for (const int value : {bar->maximum(), 0}) {
        bar->setValue(value);
        EXPECT_EQ(t1->pos(), grid()->mapTo(window.get(), QPoint(0, 0)) + cellRect(1, 16).topLeft()) << value;
    }
}

// The editors belong to the window, not to the scrolling contents: one
// whose cell leaves the visible part must not float over the tool bar.
TEST_F(AnyScreen, ABoxWhoseCellScrollsOutOfSightIsCommittedAndAHalfHiddenCellComesIntoView)
{
    if (window->minimumSize() == window->maximumSize())
        GTEST_SKIP() << "the window has its design size here; nothing scrolls";
    window->resize(window->width(), 420); // made smaller by the user
    ASSERT_TRUE(waitUntil([&] { return window->height() == 420; }));
    auto* scroll = child<QScrollArea>("ContentsScroll");
    QScrollBar* bar = scroll->verticalScrollBar();
    const int cellTop = grid()->viewport()->mapTo(scroll->widget(), cellRect(1, 1).topLeft()).y();
    const int cellHeight = cellRect(1, 1).height();
    ASSERT_GE(bar->maximum(), cellTop + cellHeight) << "the first channel can scroll out of sight";

    QLineEdit* t1 = openBox(1, 1);
    type("150");
    bar->setValue(bar->maximum());
    EXPECT_FALSE(t1->isVisible());
    EXPECT_EQ(cell(1, 1), "150.00000") << "committed as leaving it would";
    bar->setValue(0);
    clickCell(3, 1);
    bar->setValue(bar->maximum());
    EXPECT_FALSE(list("t3")->isVisible());

    // Half of the cell shows: clicking it brings it wholly into view first.
    bar->setValue(cellTop + cellHeight / 2);
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      cellRect(2, 1).center() + QPoint(0, cellHeight / 4));
    ASSERT_TRUE(box(2)->isVisible());
    EXPECT_LE(bar->value(), cellTop) << "the whole cell shows";
    EXPECT_EQ(box(2)->pos(), grid()->mapTo(window.get(), QPoint(0, 0)) + cellRect(2, 1).topLeft());
}

TEST_F(AnyScreen, TheToneListScrollsAboutTwentyRows)
{
    loadRow(1, "145.00000", "");
    clickCell(3, 1);
    QComboBox* t3 = list("t3");
    QTest::mouseClick(t3, Qt::LeftButton);
    QAbstractItemView* view = t3->view();
    ASSERT_TRUE(waitUntil([&] { return view->isVisible(); }));
    const int rows = view->viewport()->height() / view->sizeHintForRow(0);
    EXPECT_GE(rows, 18);
    EXPECT_LE(rows, 21);
    QTest::keyClick(view, Qt::Key_Escape);
}

TEST(ScreenFit, TheDesignSizeWhenItFitsOtherwiseAsMuchAsTheScreenAllows)
{
    const QSize frame(0, 30);
    EXPECT_EQ(fitWindow(kDesignWindowSize, frame, QSize(1920, 1050)).size, QSize(889, 770));
    EXPECT_TRUE(fitWindow(kDesignWindowSize, frame, QSize(1920, 1050)).fixed);
    const WindowFit laptop = fitWindow(kDesignWindowSize, frame, QSize(1366, 738));
    EXPECT_FALSE(laptop.fixed);
    EXPECT_EQ(laptop.size, QSize(889, 708));
    EXPECT_EQ(fitWindow(kDesignWindowSize, frame, QSize(853, 653)).size, QSize(853, 623)) << "1280x1024 at 150 %";
}

TEST(ToolIconsTest, SharpAtTwiceTheScale)
{
    const QPixmap sharp = icons::newPlan().pixmap(QSize(32, 32), 2.0);
    EXPECT_EQ(sharp.size(), QSize(64, 64)) << "drawn for the scale, not enlarged";
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
}

} // namespace
} // namespace zk::test
