// Print and Export PDF: the plan on one page, read back with poppler's tools.
#include "EditorHarness.h"

#include <QDate>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace zk::test {
namespace {

class PrintTest : public EditorTest {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty() || QStandardPaths::findExecutable("pdftotext").isEmpty())
            GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) not installed";
        EditorTest::SetUp();
        window->setWindowTitle(QStringLiteral("Base Camp Radios"));
        loadRow(1, "145.50000", "145.50000", "D023N", "0FF", "High", "Wide");
        loadRow(16, "150.00000", "", "88.5HZ", "OFF", "Low", "Narrow");
        window->table().setSetting(0, 2);
    }
    static QString run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    // Page count and text of a PDF file.
    void expectOnePageWithThePlan(const QString& pdf)
    {
        EXPECT_TRUE(run("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+1\\n")));
        const QString text = run("pdftotext", {"-layout", pdf, "-"});
        for (const char* expected : {"Base Camp Radios", "RX Frequency", "145.50000", "D023N", "Narrow", "16",
                                     "Voice Annunciation", "English", "VOX Delay Time"})
            EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << "\n" << text.toStdString();
        EXPECT_TRUE(text.contains(QDate::currentDate().toString(Qt::ISODate)));
        EXPECT_FALSE(text.contains("[*]"));
    }

    QTemporaryDir dir;
};

TEST_F(PrintTest, ExportPdfWritesThePlanOnOnePage)
{
    dialogs.answers = {dir.filePath("plan").toStdString()};
    clickMenuItem("MenuFile", "ExportPdf");
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].filter, "*.pdf");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Export success!"});
    expectOnePageWithThePlan(dir.filePath("plan.pdf"));

    // The completed name is another file than the dialog asked about:
    // replacing it is asked first, and No keeps it.
    QFile kept(dir.filePath("plan.pdf"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();
    dialogs.answers = {dir.filePath("plan").toStdString()};
    messages.answers = {false};
    clickMenuItem("MenuFile", "ExportPdf");
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"plan.pdf already exists. Do you want to replace it?"});
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("kept"));
    kept.close();

    dialogs.answers = {dir.filePath("no-such-folder/plan.pdf").toStdString()};
    clickMenuItem("MenuFile", "ExportPdf");
    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_EQ(messages.errors()[0].rfind("Cannot create file \"", 0), 0u) << messages.errors()[0];
}

TEST_F(PrintTest, PrintGoesToTheChosenPrinter)
{
    const QString pdf = dir.filePath("printed.pdf");
    window->choosePrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    openBox(1, 2);
    type("146"); // still open: printed as committed
    QTest::keyClick(grid(), Qt::Key_P, Qt::ControlModifier);
    expectOnePageWithThePlan(pdf);
    EXPECT_TRUE(run("pdftotext", {pdf, "-"}).contains("146.00000"));
}

TEST_F(PrintTest, ThePdfNamesThePlansFileAndBand)
{
    const QString text = [&] {
        dialogs.answers = {dir.filePath("first").toStdString()};
        clickMenuItem("MenuFile", "ExportPdf");
        return run("pdftotext", {dir.filePath("first.pdf"), "-"});
    }();
    EXPECT_TRUE(text.contains("Plan: not saved yet")) << text.toStdString();
    EXPECT_TRUE(text.contains("Band: VHF:136-174")) << text.toStdString();

    // Saved under a name, with another band made current.
    window->table().setBand(4);
    const std::string saved = dir.filePath("repeaters.bc").toStdString();
    dialogs.answers = {saved, dir.filePath("second").toStdString()};
    clickToolButton("N3");
    clickMenuItem("MenuFile", "ExportPdf");
    const QString second = run("pdftotext", {"-raw", dir.filePath("second.pdf"), "-"});
    EXPECT_TRUE(second.contains(QString::fromStdString("Plan: " + saved))) << second.toStdString();
    EXPECT_TRUE(second.contains("Band: UHF:400-490")) << second.toStdString();
}

} // namespace
} // namespace zk::test
