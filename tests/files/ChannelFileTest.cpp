#include "ChannelFile.h"
#include "Errors.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace zk;
using zk::test::errorOf;
using zk::test::modeOf;
using zk::test::namesIn;
using zk::test::readBytes;
using zk::test::TempFolder;
using zk::test::WorkingDirectory;
using zk::test::writeBytes;

namespace {

ChannelTable sampleTable()
{
    ChannelTable t;
    t.setCell(ColRx, 1, "145.50000");
    t.setCell(ColTx, 1, "145.50000");
    t.setCell(ColDecode, 1, "D023N");
    t.setCell(ColEncode, 1, "0FF");
    t.setCell(ColPower, 1, "High");
    t.setCell(ColBandwidth, 1, "Wide");
    t.setSetting(2, 5);
    return t;
}

} // namespace

TEST(ChannelFileName, AppendsTheExtensionOnlyWhenItIsMissing)
{
    EXPECT_EQ(channelFileName("plan"), "plan.bc");
    EXPECT_EQ(channelFileName("plan.bc"), "plan.bc");
    EXPECT_EQ(channelFileName("/home/u/plan.bc"), "/home/u/plan.bc");
    EXPECT_EQ(channelFileName("plan.BC"), "plan.BC.bc");
    EXPECT_EQ(channelFileName("plan.bcx"), "plan.bcx.bc");
    EXPECT_EQ(channelFileName("bc"), "bc.bc");
    EXPECT_EQ(channelFileName(""), ".bc");
}

TEST(ChannelFile, SaveWritesTheTextAndOpenReadsItBack)
{
    TempFolder folder;
    const std::string path = folder.file("plan.bc");
    saveChannelFile(path, sampleTable());
    EXPECT_EQ(readBytes(path), writeChannelText(sampleTable()));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"plan.bc"}); // no temporary left

    ChannelTable loaded;
    loaded.setCell(ColRx, 2, "150.00000");
    openChannelFile(path, loaded);
    EXPECT_EQ(loaded.cell(ColDecode, 1), "D023N");
    EXPECT_EQ(loaded.cell(ColRx, 2), "");
    EXPECT_EQ(loaded.setting(2), 5);
}

TEST(ChannelFile, SaveReplacesTheWholeOldContentAndKeepsItsPermissions)
{
    TempFolder folder;
    const std::string path = folder.file("plan.bc");
    writeBytes(path, std::string(5000, 'x'));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    saveChannelFile(path, ChannelTable());
    EXPECT_EQ(readBytes(path).size(), 263u);
    EXPECT_EQ(modeOf(path), 0640u);
}

TEST(ChannelFile, NewFileFollowsTheUmask)
{
    TempFolder folder;
    const mode_t old = ::umask(027);
    saveChannelFile(folder.file("a.bc"), ChannelTable());
    ::umask(old);
    EXPECT_EQ(modeOf(folder.file("a.bc")), 0640u);
}

TEST(ChannelFile, SaveFailureLeavesTheTargetAndNoTemporary)
{
    TempFolder folder;
    const std::string missing = folder.file("no/such/plan.bc");
    EXPECT_EQ(errorOf([&] { saveChannelFile(missing, ChannelTable()); }),
              "Cannot create file \"" + missing + "\". No such file or directory");

    // A folder in the target's place: the rename is refused after the
    // temporary was written, which must then vanish.
    const std::string taken = folder.file("taken.bc");
    std::filesystem::create_directory(taken);
    writeBytes(taken + "/inside", "old");
    EXPECT_EQ(errorOf([&] { saveChannelFile(taken, ChannelTable()); }),
              "Cannot create file \"" + taken + "\". Is a directory");
    EXPECT_EQ(readBytes(taken + "/inside"), "old");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"taken.bc"});
}

TEST(ChannelFile, SaveThroughALinkReplacesTheFileItLeadsTo)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "plans");
    const std::string real = folder.file("plans/real.bc");
    writeBytes(real, "old");
    const std::string link = folder.file("link.bc");
    std::filesystem::create_symlink(real, link);
    saveChannelFile(link, ChannelTable());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readBytes(real), writeChannelText(ChannelTable()));
    EXPECT_EQ(namesIn(folder.path() / "plans"), std::vector<std::string>{"real.bc"});
}

TEST(ChannelFile, RelativeNamesAreReportedWithTheFullPath)
{
    TempFolder folder;
    const std::string full = std::filesystem::canonical(folder.path()).string();
    WorkingDirectory here(full);
    EXPECT_EQ(errorOf([] {
                  ChannelTable t;
                  openChannelFile("absent.bc", t);
              }),
              "Cannot open file \"" + full + "/absent.bc\". No such file or directory");
    EXPECT_EQ(errorOf([] { saveChannelFile("sub/x.bc", ChannelTable()); }),
              "Cannot create file \"" + full + "/sub/x.bc\". No such file or directory");
    saveChannelFile("plan.bc", sampleTable());
    EXPECT_EQ(readBytes(full + "/plan.bc"), writeChannelText(sampleTable()));
}

TEST(ChannelFile, OpenFailuresLeaveTheTableUnchanged)
{
    TempFolder folder;
    ChannelTable t = sampleTable();
    const std::string missing = folder.file("plan");
    writeBytes(missing + ".bc", writeChannelText(ChannelTable()));
    // The name is used as given: no extension is added on open.
    EXPECT_EQ(errorOf([&] { openChannelFile(missing, t); }),
              "Cannot open file \"" + missing + "\". No such file or directory");
    EXPECT_EQ(errorOf([&] { openChannelFile(folder.path().string(), t); }),
              "Cannot open file \"" + folder.path().string() + "\". Is a directory");
    EXPECT_EQ(t.cell(ColRx, 1), "145.50000");
    EXPECT_EQ(t.setting(2), 5);
}

TEST(ChannelFile, OpenOfAShortFileReportsTheMissingRecord)
{
    TempFolder folder;
    const std::string path = folder.file("rows-only.bc");
    const std::string full = writeChannelText(ChannelTable());
    writeBytes(path, full.substr(0, full.find("0,\r")));
    ChannelTable t = sampleTable();
    EXPECT_EQ(errorOf([&] { openChannelFile(path, t); }), "List index out of bounds (16)");
    EXPECT_TRUE(t.rowIsEmpty(1));
    EXPECT_EQ(t.setting(2), 5);
}
