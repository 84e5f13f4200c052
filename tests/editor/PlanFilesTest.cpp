// Plans from elsewhere: a drop, the Recent Files menu, and
// the folder the file dialogs start in.
#include "EditorHarness.h"
#include "UserSettings.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

namespace zk::test {
namespace {

class PlanFilesTest : public EditorTest {
protected:
    void SetUp() override
    {
        QSettings(QStringLiteral("zk-h41")).clear();
        EditorTest::SetUp();
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // A plan on disk with its RX frequency of row 1.
    QString makePlan(const char* name, const char* rx)
    {
        ChannelTable plan;
        plan.setCell(ColRx, 1, rx);
        zk::saveChannelFile(path(name).toStdString(), plan);
        return path(name);
    }
    bool dragAndDrop(const QString& file)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        return true;
    }

    QTemporaryDir dir;
};

TEST_F(PlanFilesTest, ADroppedPlanOpensAndOtherFilesAreNotTaken)
{
    EXPECT_FALSE(dragAndDrop(makePlan("notes.txt", "145.00000")));
    enterFrequency(1, 2, "150");
    ASSERT_TRUE(dragAndDrop(makePlan("dropped.bc", "147.00000")));
    ASSERT_TRUE(waitUntil([&] { return cell(1, 1) == "147.00000"; }));
    EXPECT_EQ(messages.saveQuestions().size(), 1u) << "the typed row was not saved";
    EXPECT_EQ(cell(1, 2), "");
}

TEST_F(PlanFilesTest, RecentFilesReopenPlansAndDialogsStartInTheLastFolder)
{
    const QString first = makePlan("first.bc", "145.00000");
    const QString second = makePlan("second.bc", "146.00000");
    dialogs.answers = {first.toStdString(), second.toStdString()};
    clickToolButton("N2");
    clickToolButton("N2");
    EXPECT_EQ(settings::recentPlans(), (QStringList{second, first}));
    EXPECT_EQ(settings::lastFolder(), dir.path());

    QMenuBar* bar = window->menuBar();
    QMenu* file = child<QMenu>("MenuFile");
    QMenu* recent = child<QMenu>("MenuRecent");
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(file->menuAction()).center());
    ASSERT_TRUE(waitUntil([&] { return file->isVisible(); }));
    QTest::mouseClick(file, Qt::LeftButton, Qt::NoModifier, file->actionGeometry(recent->menuAction()).center());
    ASSERT_TRUE(waitUntil([&] { return recent->isVisible(); }));
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[1]->text(), "&2 " + first);
    QTest::mouseClick(recent, Qt::LeftButton, Qt::NoModifier, recent->actionGeometry(recent->actions()[1]).center());
    ASSERT_TRUE(waitUntil([&] { return cell(1, 1) == "145.00000"; }));
    EXPECT_EQ(settings::recentPlans(), (QStringList{first, second}));

    EXPECT_EQ(settings::withRecent({"a", "b", "c", "d", "e", "f", "g", "h"}, "i").size(), 8);
}

// A UHF plan opened while VHF is current, by every way there is: its band
// becomes current, and a click into a frequency and out again keeps it.
TEST_F(PlanFilesTest, APlanOpensInTheBandThatHoldsItsFrequencies)
{
    const QString uhf = makePlan("uhf.bc", "446.00625");
    const auto opened = [&](const char* way) {
        ASSERT_TRUE(waitUntil([&] { return cell(1, 1) == "446.00625"; })) << way;
        EXPECT_TRUE(action("N16")->isChecked()) << way;
        openBox(1, 1);
        clickCell(2, 3);
        EXPECT_EQ(cell(1, 1), "446.00625") << way;
        EXPECT_TRUE(messages.notices().empty()) << way;
        clickMenuItem("MenuEdit", "N9"); // an empty VHF plan again
        ASSERT_EQ(cell(1, 1), "");
    };
    dialogs.answers = {uhf.toStdString()};
    clickToolButton("N2");
    opened("Open");
    ASSERT_TRUE(dragAndDrop(uhf));
    opened("a drop");
    QMenu* recent = child<QMenu>("MenuRecent");
    emit recent->aboutToShow(); // the list is made as the menu opens
    recent->actions().constFirst()->trigger();
    opened("Recent Files");
    window.reset();
    window = std::make_unique<TForm2>(messages, dialogs, nullptr, noSerialPorts());
    window->openWhenShown(uhf.toStdString());
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    opened("the command line");

    // A plan no band holds whole: the band stays, the status bar says why.
    ChannelTable plan;
    plan.setCell(ColRx, 2, "145.00000");
    plan.setCell(ColRx, 5, "446.00625");
    zk::saveChannelFile(path("mixed.bc").toStdString(), plan);
    dialogs.answers = {path("mixed.bc").toStdString()};
    clickToolButton("N2");
    EXPECT_TRUE(action("N9")->isChecked());
    EXPECT_EQ(child<QLabel>("BandNote")->text(), "Channel 5 lies outside VHF:136-174");
}

} // namespace
} // namespace zk::test
