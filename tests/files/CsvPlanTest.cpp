// CSV plans: every tone and duplex form, the text forms spreadsheets write,
// refusals that leave the table alone, and export followed by import.
#include "Codec.h"
#include "CsvPlan.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace zk;
using zk::test::errorOf;
using zk::test::readBytes;
using zk::test::TempFolder;
using zk::test::writeBytes;

namespace {

const std::string kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                            "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

ChannelTable imported(const std::string& text)
{
    ChannelTable table;
    applyCsvPlan(readCsvPlan(text, "test.csv"), table);
    return table;
}

// Columns 1..6 of a channel.
std::vector<std::string> cells(const ChannelTable& table, int row)
{
    std::vector<std::string> out;
    for (int c = 1; c < kColumns; ++c)
        out.push_back(table.cell(c, row));
    return out;
}

// One row in the exchange layout with the given tone columns.
std::string toneRow(int location, const std::string& tone, const std::string& cross, const std::string& polarity)
{
    return std::to_string(location) + ",,146.520000,,0.000000," + tone + ",100.0,131.8,047," + polarity + ",754," +
           cross + ",FM,5.00,,High,,,,,\n";
}

} // namespace

TEST(CsvImport, EachToneFormFillsTheDecodeAndEncodeCells)
{
    const std::string text = kHeader + "\n" + toneRow(1, "", "Tone->Tone", "NN") + toneRow(2, "Tone", "", "RR") +
                             toneRow(3, "TSQL", "", "") + toneRow(4, "DTCS", "", "NR") +
                             toneRow(5, "Cross", "Tone->Tone", "NN") + toneRow(6, "Cross", "Tone->DTCS", "RR") +
                             toneRow(7, "Cross", "DTCS->Tone", "RN") + toneRow(8, "Cross", "DTCS->DTCS", "RN") +
                             toneRow(9, "Cross", "->Tone", "RR") + toneRow(10, "Cross", "->DTCS", "NR") +
                             toneRow(11, "Cross", "DTCS->", "RR") + toneRow(12, "Cross", "Tone->", "RR");
    const ChannelTable t = imported(text);
    // {decode (receive), encode (transmit)}
    const std::vector<std::pair<std::string, std::string>> expected{
        {"OFF", "OFF"},       {"OFF", "100.0HZ"},   {"131.8HZ", "131.8HZ"}, {"D047I", "D047N"},
        {"131.8HZ", "100.0HZ"}, {"D754I", "100.0HZ"}, {"131.8HZ", "D047I"},   {"D754N", "D047I"},
        {"131.8HZ", "OFF"},   {"D754I", "OFF"},     {"OFF", "D047I"},       {"OFF", "100.0HZ"}};
    for (int row = 1; row <= 12; ++row) {
        const auto& [decode, encode] = expected[static_cast<std::size_t>(row - 1)];
        EXPECT_EQ(cells(t, row), (std::vector<std::string>{"146.52000", "146.52000", decode, encode, "High", "Wide"}))
            << "channel " << row;
    }
    EXPECT_TRUE(t.rowIsEmpty(13));
}

TEST(CsvImport, EachDuplexFormGivesTheTransmitFrequency)
{
    const ChannelTable t = imported("Location,Frequency,Duplex,Offset\n"
                                    "1,146.52,,0.6\n"
                                    "2,146.94,-,0.600000\n"
                                    "3,146.34,+,0.6\n"
                                    "4,146.5,split,147.125\n"
                                    "5,162.55,off,0\n"
                                    "6,145.8,SPLIT,145.2\n");
    EXPECT_EQ(t.cell(ColTx, 1), "146.52000");
    EXPECT_EQ(t.cell(ColTx, 2), "146.34000");
    EXPECT_EQ(t.cell(ColTx, 3), "146.94000");
    EXPECT_EQ(t.cell(ColTx, 4), "147.12500");
    EXPECT_EQ(cells(t, 5), (std::vector<std::string>{"162.55000", "", "OFF", "OFF", "High", "Wide"}));
    EXPECT_EQ(t.cell(ColTx, 6), "145.20000");
    EXPECT_EQ(t.band(), 1);
}

TEST(CsvImport, QuotesCrLfByteOrderMarkAndColumnsInAnyOrder)
{
    // As a spreadsheet saves it: a byte-order mark, CR LF, quoted fields with
    // commas, doubled quotes and a line break, and columns of its own.
    const std::string text = "\xEF\xBB\xBF"
                             "Power,\"Comment\",Mode, location ,Extra,FREQUENCY,Tone,rToneFreq\r\n"
                             "5.0W,\"Club, \"\"north\"\" site\r\nsecond line\",NFM,3,x,\"446.00625\",Tone,\"67\"\r\n"
                             "\r\n"
                             "0.5 W,,FM,16,,446.1,,\r\n";
    const ChannelTable t = imported(text);
    EXPECT_EQ(cells(t, 3), (std::vector<std::string>{"446.00625", "446.00625", "OFF", "67.0HZ", "High", "Narrow"}));
    EXPECT_EQ(cells(t, 16), (std::vector<std::string>{"446.10000", "446.10000", "OFF", "OFF", "Low", "Wide"}));
    EXPECT_EQ(t.band(), 4);

    // The line of a problem counts the lines inside quoted fields.
    EXPECT_EQ(errorOf([&] { imported(text + "2,\"a\nb\",446.1,\"Tone\"x\r\n"); }),
              "Cannot import test.csv; nothing was changed:\nline 7: text follows a closing quote");
    // Right after a field that spans lines: the line the quote closes on.
    EXPECT_EQ(errorOf([&] { imported(text + "2,\"a\r\nb\"x,446.1\r\n"); }),
              "Cannot import test.csv; nothing was changed:\nline 7: text follows a closing quote");
    EXPECT_EQ(errorOf([&] { imported(text + "2,\"446.1\r\n"); }),
              "Cannot import test.csv; nothing was changed:\nline 6: a quoted field is not closed");
}

TEST(CsvImport, RowsOfEmptyCellsAreBlankLinesAndAHeaderAloneIsRefused)
{
    // Spreadsheets leave rows of empty cells after the last one used.
    const ChannelTable t = imported("Location,Frequency,Tone,rToneFreq\r\n1,146.52,Tone,100\r\n,,,\r\n , ,\t,\r\n,,,");
    EXPECT_EQ(cells(t, 1), (std::vector<std::string>{"146.52000", "146.52000", "OFF", "100.0HZ", "High", "Wide"}));
    for (int row = 2; row <= kChannels; ++row)
        EXPECT_TRUE(t.rowIsEmpty(row)) << row;

    // A header alone would empty every channel: refused instead.
    EXPECT_EQ(errorOf([&] { readCsvPlan("\xEF\xBB\xBFLocation,Frequency\r\n,\r\n", "y.csv"); }),
              "Cannot import y.csv; nothing was changed:\ny.csv has no channel rows");
}

TEST(CsvImport, PowerThresholdAndBandFollowTheRows)
{
    const ChannelTable t = imported("Location,Frequency,Power,Mode\n1,440.0,2.9,nfm\n2,519.99,3W,\n3,450,LOW,FM\n");
    EXPECT_EQ(t.cell(ColPower, 1), "Low");
    EXPECT_EQ(t.cell(ColPower, 2), "High");
    EXPECT_EQ(t.cell(ColPower, 3), "Low");
    EXPECT_EQ(t.cell(ColBandwidth, 1), "Narrow");
    // 400-490 comes first but 519.99 needs 440-520.
    EXPECT_EQ(t.band(), 5);
}

TEST(CsvImport, ARefusedImportChangesNothingAndNamesEveryProblemWithItsLine)
{
    ChannelTable table;
    table.setCell(ColRx, 7, "145.00000");
    table.setBand(2);
    const std::string text = kHeader + "\n" + toneRow(1, "TSQL", "", "") + // fine
                             "2,,146.52,+,,DTCS,,,024,NX,,,AM,,,9 volts,,,,,\n" +
                             "1,,147.0,split,446.0,Cross,,,,,,Tone->Bell,FM,,,High,,,,,\n" +
                             "17,,146.521101,,,,,,,,,,,,,,,,,,\n" +
                             "3,,146.5,-,147,,,,,,,,,,,,,,,,\n" +
                             "4,,146.501,,,Tone,88.6,,,,,,,,,,,,,,\n";
    const std::string error = errorOf([&] { applyCsvPlan(readCsvPlan(text, "\"/tmp/x.csv\""), table); });
    EXPECT_EQ(error, "Cannot import \"/tmp/x.csv\"; nothing was changed:\n"
                     "line 3: Offset \"\" is not a frequency in MHz the radio can hold (10 Hz steps)\n"
                     "line 3: DtcsPolarity \"NX\" is not two letters N or R\n"
                     "line 3: DtcsCode \"024\" is not one of the radio's DCS codes\n"
                     "line 3: Power \"9 volts\" is neither High, Low nor a wattage\n"
                     "line 3: Mode \"AM\" cannot be stored: FM (wide) or NFM (narrow) only\n"
                     "line 4: channel 1 is also on line 2\n"
                     "line 4: CrossMode \"Tone->Bell\" is none of: Tone->Tone, Tone->DTCS, DTCS->Tone, DTCS->DTCS, "
                     "->Tone, ->DTCS, DTCS->, Tone->\n"
                     "line 4: TX frequency 446 MHz is outside 136-174 MHz, the band of the other frequencies\n"
                     "line 5: Location \"17\" is not a channel number from 1 to 16\n"
                     "line 5: Frequency \"146.521101\" is not a frequency in MHz the radio can hold (10 Hz steps)\n"
                     "line 6: the TX frequency, Frequency - Offset, is below 0 MHz\n"
                     "line 7: rToneFreq \"88.6\" is not one of the radio's CTCSS tones\n"
                     "line 7: RX frequency 146.501 MHz is on neither a 5 kHz nor a 6.25 kHz step");
    EXPECT_EQ(table.cell(ColRx, 7), "145.00000");
    EXPECT_TRUE(table.rowIsEmpty(1));
    EXPECT_EQ(table.band(), 2);

    EXPECT_EQ(errorOf([&] { readCsvPlan("Name,Freq\nx,1\n", "y.csv"); }),
              "Cannot import y.csv; nothing was changed:\nline 1: there is no column \"Location\"\n"
              "line 1: there is no column \"Frequency\"");
    std::string many = "Location,Frequency\n";
    for (int i = 0; i < 25; ++i)
        many += "0,146.52\n";
    // The length comes first; one kind of problem on many lines is told once.
    EXPECT_EQ(errorOf([&] { readCsvPlan(many, "y.csv"); }),
              "Cannot import y.csv; nothing was changed:\n"
              "y.csv has 25 rows in VHF:136-174; the radio holds 16 channels in one band (choose which rows to "
              "import)\nLocation not a channel number from 1 to 16: lines 2-26");
    EXPECT_EQ(errorOf([&] { readCsvPlan("\n\n", "y.csv"); }),
              "Cannot import y.csv; nothing was changed:\nline 1: there is no header row");
    EXPECT_EQ(errorOf([&] { readCsvPlan("Location,Frequency\n1,600\n", "y.csv"); }),
              "Cannot import y.csv; nothing was changed:\nline 2: RX frequency 600 MHz is in none of the "
              "radio's bands (136-174, 220-260, 340-390, 400-490, 440-520 MHz)");
}

TEST(CsvExport, ExportThenImportGivesTheSamePlan)
{
    ChannelTable plan;
    const std::vector<std::vector<std::string>> rows{
        {"145.50000", "145.50000", "OFF", "0FF", "High", "Wide"},
        {"146.94000", "146.34000", "OFF", "100.0HZ", "Low", "Narrow"},
        {"146.52000", "", "131.8HZ", "131.8HZ", "High", "Wide"},
        {"147.00000", "147.60000", "D047I", "D047N", "High", "Wide"},
        {"136.00000", "174.00000", "D754N", "67.0HZ", "Low", "Wide"},
        {"150.00625", "150.00625", "OFF", "D023I", "High", "Narrow"},
        {"173.99375", "173.99375", "250.3HZ", "OFF", "High", "Wide"}};
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (int c = 1; c < kColumns; ++c)
            plan.setCell(c, static_cast<int>(i) * 2 + 2, rows[i][static_cast<std::size_t>(c - 1)]);

    const std::string text = writeCsvPlan(plan);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), kHeader + "\r\n");
    EXPECT_NE(text.find("\r\n4,,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,NFM,5.00,,Low,,,,,\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\n10,,136.000000,+,38.000000,Cross,67.0,88.5,023,NN,754,Tone->DTCS,FM,5.00,,Low,,,,,\r\n"),
              std::string::npos)
        << text;

    ChannelTable back;
    back.setCell(ColRx, 1, "150.00000"); // emptied: the file does not name channel 1
    applyCsvPlan(readCsvPlan(text, "plan.csv"), back);
    for (int row = 1; row <= kChannels; ++row) {
        EXPECT_EQ(encodeChannelRecord(back, row), encodeChannelRecord(plan, row)) << "channel " << row;
        if (row != 2) { // "0FF" comes back as "OFF", the same record
            EXPECT_EQ(cells(back, row), cells(plan, row)) << "channel " << row;
        }
    }
    EXPECT_EQ(writeCsvPlan(back), text);
}

TEST(CsvExport, TransmitFarFromReceiveIsASplit)
{
    ChannelTable plan;
    const std::vector<std::vector<std::string>> rows{{"146.52000", "446.00000"},
                                                     {"446.00000", "146.52000"},
                                                     {"146.00000", "246.00000"},
                                                     {"146.00000", "245.99000"}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        plan.setCell(ColRx, row, rows[i][0]);
        plan.setCell(ColTx, row, rows[i][1]);
    }
    EXPECT_EQ(writeCsvPlan(plan), kHeader + "\r\n"
                                  "1,,146.520000,split,446.000000,,88.5,88.5,023,NN,023,Tone->Tone,,5.00,,,,,,,\r\n"
                                  "2,,446.000000,split,146.520000,,88.5,88.5,023,NN,023,Tone->Tone,,5.00,,,,,,,\r\n"
                                  "3,,146.000000,split,246.000000,,88.5,88.5,023,NN,023,Tone->Tone,,5.00,,,,,,,\r\n"
                                  "4,,146.000000,+,99.990000,,88.5,88.5,023,NN,023,Tone->Tone,,5.00,,,,,,,\r\n");
}

TEST(CsvExport, TheStepIsTheOneTheReceiveFrequencyLiesOn)
{
    ChannelTable plan;
    plan.setCell(ColRx, 1, "446.00625"); // 6.25 kHz only
    plan.setCell(ColRx, 2, "146.52500"); // on both: 5 kHz
    plan.setCell(ColRx, 3, "146.51250"); // 6.25 kHz only
    plan.setCell(ColRx, 4, "146.51000"); // 5 kHz only
    EXPECT_EQ(writeCsvPlan(plan), kHeader + "\r\n"
                                  "1,,446.006250,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,,6.25,,,,,,,\r\n"
                                  "2,,146.525000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,,5.00,,,,,,,\r\n"
                                  "3,,146.512500,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,,6.25,,,,,,,\r\n"
                                  "4,,146.510000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,,5.00,,,,,,,\r\n");
}

TEST(CsvFiles, ReadLikeTheOtherFilesAndRefuseWhatACsvCannotCarry)
{
    TempFolder folder;
    const std::string pipe = folder.file("pipe.csv");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    // Without a writer, opening the pipe to read would wait for ever.
    EXPECT_EQ(errorOf([&] { importCsvFile(pipe); }),
              "Cannot open file \"" + pipe + "\". It is a pipe, not a file");
    const std::string large = folder.file("large.csv");
    writeBytes(large, std::string((std::size_t{1} << 20) + 1, '\n'));
    EXPECT_EQ(errorOf([&] { importCsvFile(large); }),
              "Cannot open file \"" + large + "\". It is too large to be a CSV file (over 1 MiB)");

    const std::string path = folder.file("plan.csv");
    writeBytes(path, "old");
    ChannelTable table;
    table.setCell(ColRx, 1, "145.00000");
    table.setCell(ColDecode, 1, "OFF");
    table.setCell(ColTx, 3, "145.00000");
    table.setCell(ColRx, 5, "145.0");
    table.setCell(ColPower, 5, "Medium");
    EXPECT_EQ(errorOf([&] { exportCsvFile(path, table); }),
              "The plan cannot be exported; nothing was written:\n"
              "Channel 3, RX Frequency: \"\" cannot be written to a CSV file\n"
              "Channel 5, RX Frequency: \"145.0\" cannot be written to a CSV file\n"
              "Channel 5, TX Power: \"Medium\" cannot be written to a CSV file");
    EXPECT_EQ(readBytes(path), "old");
    table.setCell(ColTx, 3, "");
    table.setCell(ColRx, 5, "");
    exportCsvFile(path, table);
    EXPECT_EQ(readBytes(path),
              kHeader + "\r\n1,,145.000000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,,5.00,,,,,,,\r\n");
}
