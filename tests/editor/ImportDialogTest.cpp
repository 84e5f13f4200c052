// The import dialog of Import CSV and New From List, driven offscreen with
// the keys and the band choice: ticks, the counter, the 16 limit, the result
// in the grid and its one undo step.
#include "EditorHarness.h"
#include "ListImportDialog.h"
#include "ScreenFit.h"

#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include <fstream>

namespace zk::test {
namespace {

class ImportDialogTest : public EditorTest {
protected:
    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    void write(const char* name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    // Chooses the file in the menu item's file dialog; the import dialog that opens.
    ListImportDialog* openDialog(const char* item, const std::string& file)
    {
        dialogs.answers = {file};
        clickMenuItem("MenuFile", item);
        ListImportDialog* dialog = window->findChild<ListImportDialog*>();
        EXPECT_NE(dialog, nullptr);
        if (dialog) {
            EXPECT_TRUE(waitUntil([&] { return dialog->isVisible(); }));
        }
        return dialog;
    }
    static QTableWidget* rows(ListImportDialog* d) { return d->findChild<QTableWidget*>("ImportRows"); }
    static QString counter(ListImportDialog* d) { return d->findChild<QLabel*>("ImportCounter")->text(); }
    static bool importEnabled(ListImportDialog* d) { return d->findChild<QPushButton*>("ImportButton")->isEnabled(); }
    static bool ticked(ListImportDialog* d, int row)
    {
        return rows(d)->item(row, ListImportDialog::kLineColumn)->checkState() == Qt::Checked;
    }
    static bool enabled(ListImportDialog* d, int row)
    {
        return (rows(d)->item(row, ListImportDialog::kLineColumn)->flags() & Qt::ItemIsEnabled) != 0;
    }
    static std::string reason(ListImportDialog* d, int row)
    {
        return rows(d)->item(row, ListImportDialog::kReasonColumn)->text().toStdString();
    }
    void press(ListImportDialog* d, Qt::Key key, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(rows(d), key);
    }

    QTemporaryDir dir;
};

// 18 VHF rows on lines 2-19, two PMR446 rows, a row the radio cannot store.
std::string twoBandList()
{
    std::string text = "Location,Name,Frequency,Mode,Comment\n";
    for (int n = 0; n < 18; ++n)
        text += std::to_string(n) + ",V" + std::to_string(n) + ",146." + std::to_string(520 + n * 25) + ",FM,x\n";
    return text + "1,P1,446.00625,NFM,\n2,P2,446.01875,NFM,\n3,AM,146.3,AM,\n";
}

TEST_F(ImportDialogTest, TicksBandAndCounterChooseTheRowsAndImportIsOneUndoStep)
{
    enterFrequency(1, 1, "145");
    write("club.csv", twoBandList());
    ListImportDialog* d = openDialog("ImportCsv", path("club.csv"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(messages.saveQuestions().size(), 1u);
    EXPECT_EQ(d->windowTitle(), "Import CSV");

    auto* band = d->findChild<QComboBox*>("ImportBand");
    QStringList captions;
    for (int i = 0; i < band->count(); ++i)
        captions << band->itemText(i);
    EXPECT_EQ(captions, QStringList({"VHF:136-174 (18 rows)", "VHF:220-260 (0 rows)", "UHF:340-390 (0 rows)",
                                     "UHF:400-490 (2 rows)", "UHF:440-520 (2 rows)"}));
    EXPECT_EQ(band->currentIndex(), 0);
    ASSERT_EQ(rows(d)->rowCount(), 21);
    for (int r = 0; r < 18; ++r) {
        EXPECT_EQ(ticked(d, r), r < 16) << r;
        EXPECT_TRUE(enabled(d, r)) << r;
    }
    EXPECT_EQ(rows(d)->item(19, 2)->text(), "446.01875");
    EXPECT_FALSE(enabled(d, 19));
    EXPECT_EQ(reason(d, 19), "in UHF:400-490 and UHF:440-520, not VHF:136-174");
    EXPECT_FALSE(enabled(d, 20));
    EXPECT_EQ(reason(d, 20), "Mode \"AM\" cannot be stored: FM (wide) or NFM (narrow) only");
    EXPECT_EQ(counter(d), "16 of 16 channels");
    EXPECT_TRUE(importEnabled(d));

    // A 17th tick disables Import, and Enter does nothing then.
    press(d, Qt::Key_Down, 16);
    press(d, Qt::Key_Space);
    EXPECT_TRUE(ticked(d, 16));
    EXPECT_EQ(counter(d), "17 of 16 channels");
    EXPECT_FALSE(importEnabled(d));
    press(d, Qt::Key_Return);
    EXPECT_TRUE(d->isVisible());
    // Line 3 out instead.
    press(d, Qt::Key_Up, 15);
    press(d, Qt::Key_Space);
    EXPECT_FALSE(ticked(d, 1));
    EXPECT_EQ(counter(d), "16 of 16 channels");
    EXPECT_TRUE(importEnabled(d));

    // The other band: its rows, and the others disabled with the reason.
    band->setCurrentIndex(3);
    EXPECT_EQ(counter(d), "2 of 16 channels");
    EXPECT_TRUE(ticked(d, 18));
    EXPECT_FALSE(ticked(d, 1));
    EXPECT_FALSE(enabled(d, 0));
    EXPECT_EQ(reason(d, 0), "in VHF:136-174, not UHF:400-490");
    press(d, Qt::Key_Space); // the current row, line 3, is disabled: no tick
    EXPECT_EQ(counter(d), "2 of 16 channels");
    // The arrows go to the rows that can be ticked.
    press(d, Qt::Key_Down);
    EXPECT_EQ(rows(d)->currentRow(), 18);
    press(d, Qt::Key_Space);
    EXPECT_EQ(counter(d), "1 of 16 channels");
    press(d, Qt::Key_Down);
    press(d, Qt::Key_Space);
    // Nothing ticked: nothing to import.
    EXPECT_EQ(counter(d), "0 of 16 channels");
    EXPECT_FALSE(importEnabled(d));
    press(d, Qt::Key_Space);
    EXPECT_EQ(counter(d), "1 of 16 channels");

    press(d, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return window->findChild<ListImportDialog*>() == nullptr; }));
    EXPECT_TRUE(messages.errors().empty());
    EXPECT_EQ(shown(1, 1), "446.01875");
    EXPECT_EQ(shown(5, 1), "High");
    EXPECT_EQ(shown(6, 1), "Narrow");
    EXPECT_EQ(shown(1, 2), "");
    EXPECT_EQ(window->table().band(), 4);

    action("Undo")->trigger();
    EXPECT_EQ(shown(1, 1), "145.00000");
    EXPECT_EQ(window->table().band(), 1);
}

TEST_F(ImportDialogTest, TheFirstSixteenOfTheBandInFileOrderAndCancelChangesNothing)
{
    write("club.csv", twoBandList());
    ListImportDialog* d = openDialog("ImportCsv", path("club.csv"));
    ASSERT_NE(d, nullptr);
    press(d, Qt::Key_Space); // line 2 out: lines 3-18 are channels 1-16
    press(d, Qt::Key_Down, 16);
    press(d, Qt::Key_Space);
    press(d, Qt::Key_Enter);
    ASSERT_TRUE(waitUntil([&] { return window->findChild<ListImportDialog*>() == nullptr; }));
    EXPECT_EQ(shown(1, 1), "146.54500");
    EXPECT_EQ(shown(1, 16), "146.92000");
    EXPECT_EQ(window->table().band(), 1);

    d = openDialog("ImportCsv", path("club.csv"));
    ASSERT_NE(d, nullptr);
    QTest::keyClick(d, Qt::Key_Escape);
    ASSERT_TRUE(waitUntil([&] { return window->findChild<ListImportDialog*>() == nullptr; }));
    EXPECT_EQ(shown(1, 1), "146.54500");
}

TEST_F(ImportDialogTest, NewFromListShowsWhereTheListMayBeUsed)
{
    ListImportDialog* d = openDialog("NewFromList", ZK_STOCK_LISTS "/pmr446.csv");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(dialogs.requests.back().title, "New From List");
    EXPECT_EQ(d->findChild<QLabel*>("ListNote")->text(),
              "PMR446 (licence-free in Europe and elsewhere): 0.5 W ERP at most with the radio's own fixed antenna; "
              "you must keep these limits");
    EXPECT_EQ(counter(d), "16 of 16 channels");
    press(d, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return window->findChild<ListImportDialog*>() == nullptr; }));
    EXPECT_EQ(shown(1, 1), "446.00625");
    EXPECT_EQ(shown(1, 16), "446.19375");
    EXPECT_EQ(shown(5, 16), "Low");
    EXPECT_EQ(window->table().band(), 4);
}

// Run by CTest on a desktop screen, a 1366 x 768 laptop and at 150 % on
// 1280 x 1024.
using ImportDialogOnAnyScreen = ImportDialogTest;

TEST_F(ImportDialogOnAnyScreen, TheDialogFitsTheScreen)
{
    write("club.csv", twoBandList());
    ListImportDialog* d = openDialog("ImportCsv", path("club.csv"));
    ASSERT_NE(d, nullptr);
    const QRect available = d->screen()->availableGeometry();
    EXPECT_LE(d->width() + kUsualFrame.width(), available.width());
    EXPECT_LE(d->height() + kUsualFrame.height(), available.height());
    EXPECT_GE(d->height(), 300) << "room for the rows";
    EXPECT_TRUE(d->findChild<QPushButton*>("ImportButton")->isVisible());
}

TEST_F(ImportDialogTest, AFileThatIsNoListOpensNoDialog)
{
    write("empty.csv", "Location,Frequency\n");
    dialogs.answers = {path("empty.csv")};
    clickMenuItem("MenuFile", "ImportCsv");
    EXPECT_EQ(window->findChild<ListImportDialog*>(), nullptr);
    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_EQ(messages.errors()[0], "Cannot import \"" + path("empty.csv") + "\"; nothing was changed:\n\"" +
                                        path("empty.csv") + "\" has no channel rows.");
}

} // namespace
} // namespace zk::test
