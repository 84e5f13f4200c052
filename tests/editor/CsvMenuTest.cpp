// Import CSV and Export CSV from the File menu, with the dialog and message
// seams answering.
#include "EditorHarness.h"

#include <QDialog>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>

namespace zk::test {
namespace {

class CsvMenuTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        window->setWindowTitle(QStringLiteral("ZK-H41"));
    }
    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    void write(const char* name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const char* name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    QTemporaryDir dir;
};

TEST_F(CsvMenuTest, ImportReplacesTheChannelsAsOneUndoStepAndExportWritesThem)
{
    enterFrequency(1, 1, "145");
    write("list.csv", "Location,Frequency,Duplex,Offset,Tone,DtcsCode,DtcsPolarity\n"
                      "2,446.1,,,DTCS,754,RN\n"
                      "3,446.0,+,5,,,\n"
                      "5,445.0,off,,,,\n");
    write("bad.csv", "Location,Frequency\n2,446.1\n3,446.2\n4,146.52\n");

    // A list with a row in another band: the import dialog shows it left
    // out with the reason; Cancel keeps the plan as it was.
    dialogs.answers = {path("bad.csv")};
    clickMenuItem("MenuFile", "ImportCsv");
    auto* dialog = window->findChild<QDialog*>("ListImportDialog");
    ASSERT_NE(dialog, nullptr);
    auto* rows = dialog->findChild<QTableWidget*>("ImportRows");
    EXPECT_EQ(rows->item(2, 8)->text(), "in VHF:136-174, not UHF:400-490");
    dialog->reject();
    EXPECT_TRUE(messages.errors().empty());
    EXPECT_EQ(cell(1, 1), "145.00000");

    messages.clear();
    dialogs.answers = {path("list.csv")};
    clickMenuItem("MenuFile", "ImportCsv");
    dialog = window->findChild<QDialog*>("ListImportDialog");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(waitUntil([&] { return dialog->isVisible(); }));
    // The whole list as the radio takes it: each row in its Location's channel.
    QTest::keyClick(dialog->findChild<QTableWidget*>("ImportRows"), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return window->findChild<QDialog*>("ListImportDialog") == nullptr; }));
    EXPECT_EQ(dialogs.requests.back().title, "Import CSV");
    EXPECT_EQ(dialogs.requests.back().filter, "*.csv");
    EXPECT_EQ(messages.saveQuestions(),
              std::vector<std::string>{"The channel plan has unsaved changes. Do you want to save them?"});
    EXPECT_TRUE(messages.errors().empty());
    EXPECT_EQ(shown(1, 1), "");
    EXPECT_EQ(shown(1, 2), "446.10000");
    EXPECT_EQ(shown(3, 2), "D754N");
    EXPECT_EQ(shown(4, 2), "D754I");
    EXPECT_EQ(shown(2, 3), "451.00000");
    EXPECT_EQ(shown(2, 5), "");
    EXPECT_EQ(window->table().band(), 4);
    EXPECT_TRUE(window->isWindowModified());

    // Export: the extension is added, and the file is the plan's CSV text.
    dialogs.answers = {path("out")};
    clickMenuItem("MenuFile", "ExportCsv");
    EXPECT_EQ(dialogs.requests.back().title, "Export CSV");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Export success!"});
    EXPECT_EQ(read("out.csv"),
              "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
              "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
              "2,,446.100000,,0.000000,DTCS,88.5,88.5,754,RN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n"
              "3,,446.000000,+,5.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n"
              "5,,445.000000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n");

    action("Undo")->trigger();
    EXPECT_EQ(shown(1, 1), "145.00000");
    EXPECT_EQ(shown(1, 2), "");
    EXPECT_EQ(window->table().band(), 1);
}

} // namespace
} // namespace zk::test
