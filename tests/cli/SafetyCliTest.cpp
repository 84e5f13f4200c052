// verify, backup, restore and write --verify / --backup through the built
// zk-h41-cli against the virtual radio on a pseudo-terminal.
#include "CliHarness.h"
#include "ChannelFile.h"
#include "Codec.h"
#include "HexText.h"
#include "RadioImage.h"
#include "RadioMemory.h"
#include "RunProgram.h"
#include "TempFolder.h"
#include "VirtualRadio.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace zk;
using zk::test::cli;
using zk::test::loadPlanIntoRadio;
using zk::test::namesIn;
using zk::test::ProgramResult;
using zk::test::readBytes;
using zk::test::sampleRadioPlan;
using zk::test::TempFolder;
using zk::test::writeBytes;

namespace {

const std::string kAllBlocks = "block 1/5\nblock 2/5\nblock 3/5\nblock 4/5\nblock 5/5\n";

class SafetyCli : public ::testing::Test {
protected:
    void SetUp() override { radio.start(); }
    void TearDown() override { radio.stop(); }

    std::string savePlan(const ChannelTable& plan, const std::string& name = "plan.bc")
    {
        const std::string path = folder.file(name);
        saveChannelFile(path, plan);
        return path;
    }

    VirtualRadio radio;
    TempFolder folder;
};

} // namespace

TEST_F(SafetyCli, VerifyReportsAMatchAndEachDifferingChannelAndSetting)
{
    ChannelTable plan = sampleRadioPlan();
    plan.setCell(ColDecode, 6, "OFF"); // stored as the radio's "no tone" either way
    plan.setCell(ColEncode, 6, "0FF");
    loadPlanIntoRadio(radio, plan);
    const std::string file = savePlan(plan);

    ProgramResult r = cli({"verify", "--port", radio.path(), file});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "Radio matches " + file + "\n");
    EXPECT_EQ(r.err, kAllBlocks);

    ChannelTable changed = plan;
    changed.setCell(ColRx, 5, "146.00000");
    changed.setCell(ColPower, 16, "High");
    changed.setCell(ColRx, 11, "438.52500");
    changed.setSetting(2, 3);
    loadPlanIntoRadio(radio, changed);
    radio.clearLog();
    r = cli({"verify", "--port", radio.path(), file});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "channel 5: RX Frequency radio 146.00000, plan empty; QT/DQT Dec radio OFF, plan empty\n"
                     "channel 11: RX Frequency radio 438.52500, plan 438.51250\n"
                     "channel 16: TX Power radio High, plan Low\n"
                     "setting Squelch Level: radio 3, plan 9\n");
    EXPECT_EQ(r.err, kAllBlocks + "Radio differs from " + file + "\n");
    // Nothing but the read went to the radio: handshake, five commands, end byte.
    const std::size_t readLength = 7 + 5 * 4 + 1;
    EXPECT_TRUE(test::waitUntil([&] { return radio.received().size() >= readLength; }));
    EXPECT_EQ(radio.received().size(), readLength);
}

TEST_F(SafetyCli, WriteWithVerifyAndBackupKeepsTheOldMemoryThenChecksTheNew)
{
    RadioImage before = blankImage();
    std::mt19937 random(41);
    for (std::uint8_t& byte : before)
        byte = static_cast<std::uint8_t>(random());
    RadioImage memory;
    std::copy(before.begin(), before.end(), memory.begin());
    radio.setMemory(memory);
    const std::string plan = savePlan(sampleRadioPlan());
    const std::string backups = folder.file("backups");

    const ProgramResult r = cli({"write", "--port", radio.path(), plan, "--verify", "--backup", backups});

    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "backup: block 1/5\nbackup: block 2/5\nbackup: block 3/5\nbackup: block 4/5\nbackup: block 5/5\n"
                     "write: block 1/5\nwrite: block 2/5\nwrite: block 3/5\nwrite: block 4/5\nwrite: block 5/5\n"
                     "verify: block 1/5\nverify: block 2/5\nverify: block 3/5\nverify: block 4/5\nverify: block 5/5\n");
    const std::vector<std::string> saved = namesIn(backups);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_TRUE(saved[0].starts_with("radio-") && saved[0].ends_with(".img")) << saved[0];
    const std::string backup = (std::filesystem::path(backups) / saved[0]).string();
    EXPECT_EQ(r.out, "Backup saved to " + backup + "\nWrite Success!\nRadio matches " + plan + "\n");
    // The image holds what the reads returned: each block's 64 bytes at its address.
    const std::string image = readBytes(backup);
    ASSERT_EQ(image.size(), kImageSize);
    for (int k = 0; k < kBlocks; ++k)
        for (std::size_t i = 0; i < kReadBlockBytes; ++i)
            EXPECT_EQ(static_cast<std::uint8_t>(image[blockAddress(k) + i]), before[blockAddress(k) + i]);
    EXPECT_EQ(static_cast<std::uint8_t>(image[0]), 0xFF);
    EXPECT_EQ(static_cast<std::uint8_t>(image[kImageSize - 1]), 0xFF);
    EXPECT_EQ(toHexText(radio.readMemory(0x10, 16)), encodeChannelRecord(sampleRadioPlan(), 1));
}

TEST_F(SafetyCli, ABackupRestoredIntoABlankRadioGivesBackEveryWrittenByte)
{
    // Arbitrary bytes in every position of every record, also those the
    // channel table does not model.
    RadioImage original;
    std::mt19937 random(7);
    for (std::uint8_t& byte : original)
        byte = static_cast<std::uint8_t>(random());
    radio.setMemory(original);
    const std::string image = folder.file("radio.img");

    ProgramResult r = cli({"backup", "--port", radio.path(), "-o", image});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "Backup saved to " + image + "\n");

    RadioImage blank;
    blank.fill(0xFF);
    radio.setMemory(blank);
    radio.clearLog();
    r = cli({"restore", "--port", radio.path(), image});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "Write Success!\nRadio matches " + image + "\n");

    const RadioImage restored = radio.memory();
    for (std::size_t address : writtenAddresses())
        EXPECT_EQ(restored[address], original[address]) << "address " << address;
    // The write went as a plan's write does: four 64-byte blocks, 16 settings bytes.
    const std::string wire = toHexText(radio.received());
    EXPECT_EQ(wire.find("570010" "40"), 14u);
    EXPECT_NE(wire.find("57012F10" + toHexText(radio.readMemory(0x12F, 16)) + "45"), std::string::npos);

    // A restore that finds the radio different says where.
    RadioFaults faults;
    faults.badDigitChannel = 3;
    radio.setFaults(faults);
    r = cli({"restore", "--port", radio.path(), image});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_TRUE(r.out.starts_with("Write Success!\nchannel 3: radio ")) << r.out;
    EXPECT_TRUE(r.err.ends_with("Radio differs from " + image + "\n")) << r.err;
}

TEST_F(SafetyCli, AnImageOfTheWrongSizeIsRefusedBeforeAnythingIsSent)
{
    const std::string shortImage = folder.file("short.img");
    writeBytes(shortImage, std::string(511, '\xFF'));
    const std::string longImage = folder.file("long.img");
    writeBytes(longImage, std::string(513, '\xFF'));

    for (const std::string& image : {shortImage, longImage}) {
        const ProgramResult r = cli({"restore", "--port", radio.path(), image});
        EXPECT_EQ(r.exitStatus, 1);
        EXPECT_EQ(r.out, "");
        const std::size_t size = image == shortImage ? 511 : 513;
        EXPECT_EQ(r.err, image + " is not a radio image: it holds " + std::to_string(size) +
                             " bytes, an image holds 512.\n");
    }
    EXPECT_TRUE(radio.received().empty());
    // The next program's handshake is the first thing the radio hears.
    const ProgramResult next = cli({"backup", "--port", radio.path(), "-o", folder.file("next.img")});
    EXPECT_EQ(next.exitStatus, 0) << next.err;
    EXPECT_TRUE(test::waitUntil([&] { return radio.commandsServed() == 5; }));
    EXPECT_EQ(toHexText(radio.received()).substr(0, 14), "50524F4752414D");
    EXPECT_EQ(radio.commandsServed(), 5);
}
