#include "Errors.h"
#include "SideFiles.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace zk;
using zk::test::errorOf;
using zk::test::modeOf;
using zk::test::namesIn;
using zk::test::readBytes;
using zk::test::TempFolder;
using zk::test::writeBytes;

namespace {

std::string firstLineOf(const TempFolder& folder, const std::string& bytes)
{
    const std::string path = folder.file("line.bc");
    writeBytes(path, bytes);
    return readFirstLine(path);
}

} // namespace

TEST(ApplicationFolder, IsTheTestProgramsFolderWhateverTheWorkingDirectory)
{
    const auto expected = std::filesystem::canonical(ZK_TEST_PROGRAM_DIR).string() + "/";
    EXPECT_EQ(applicationFolder(), expected);

    TempFolder elsewhere;
    zk::test::WorkingDirectory moved(elsewhere.path());
    EXPECT_EQ(applicationFolder(), expected);
}

TEST(SideFilePath, TurnsBackslashesIntoSlashesAndCountsADoubledOneOnce)
{
    EXPECT_EQ(sideFilePath("/opt/zk/", kPasswordFile), "/opt/zk/image/1.bc");
    EXPECT_EQ(sideFilePath("/opt/zk/", kTitleFile), "/opt/zk/image/2.bc");
    EXPECT_EQ(sideFilePath("/opt/zk", kBackgroundFile), "/opt/zk/image/1.jpg");
}

TEST(ReadFirstLine, TakesTheBytesUpToTheFirstLineEndOrNul)
{
    TempFolder folder;
    EXPECT_EQ(firstLineOf(folder, "secret\rmore\r\n"), "secret");
    EXPECT_EQ(firstLineOf(folder, "secret\nmore"), "secret");
    EXPECT_EQ(firstLineOf(folder, "secret\r\n"), "secret");
    EXPECT_EQ(firstLineOf(folder, "secret"), "secret");
    EXPECT_EQ(firstLineOf(folder, std::string("sec\0ret\r\n", 9)), "sec");
    EXPECT_EQ(firstLineOf(folder, "  Mixed Case  \r\n"), "  Mixed Case  ");
    EXPECT_EQ(firstLineOf(folder, "\r\nsecond"), "");
    EXPECT_EQ(firstLineOf(folder, "\n"), "");
}

TEST(ReadFirstLine, AFileWithoutALineOrWithoutTheFileFails)
{
    TempFolder folder;
    const std::string empty = folder.file("empty.bc");
    writeBytes(empty, "");
    EXPECT_EQ(errorOf([&] { readFirstLine(empty); }), "List index out of bounds (0)");
    const std::string nulFirst = folder.file("nul.bc");
    writeBytes(nulFirst, std::string("\0secret\r\n", 9));
    EXPECT_EQ(errorOf([&] { readFirstLine(nulFirst); }), "List index out of bounds (0)");
    const std::string missing = folder.file("image/1.bc");
    EXPECT_EQ(errorOf([&] { readFirstLine(missing); }), "Cannot open file \"" + missing + "\". No such file or directory");
}

TEST(WriteSingleLine, ReplacesTheWholeFileByTheTextAndCrLf)
{
    TempFolder folder;
    const std::string path = folder.file("2.bc");
    writeSingleLine(path, "   ");
    EXPECT_EQ(readBytes(path), "   \r\n");
    writeBytes(path, "old title\r\nsecond line\r\nthird line\r\n");
    writeSingleLine(path, "New");
    EXPECT_EQ(readBytes(path), "New\r\n");
    EXPECT_EQ(readFirstLine(path), "New");
    EXPECT_EQ(namesIn(folder.path()).size(), 1u);
}

TEST(WriteSingleLine, OwnerOnlyFilesAreAlways0600AndOthersKeepTheirMode)
{
    TempFolder folder;
    const mode_t old = ::umask(0);
    const std::string password = folder.file("1.bc");
    writeSingleLine(password, "fresh", true);
    EXPECT_EQ(modeOf(password), 0600u);
    ASSERT_EQ(::chmod(password.c_str(), 0644), 0);
    writeSingleLine(password, "changed", true);
    EXPECT_EQ(modeOf(password), 0600u);

    const std::string title = folder.file("2.bc");
    writeSingleLine(title, "Title");
    EXPECT_EQ(modeOf(title), 0666u);
    ASSERT_EQ(::chmod(title.c_str(), 0604), 0);
    writeSingleLine(title, "Other");
    EXPECT_EQ(modeOf(title), 0604u);
    ::umask(old);
}

TEST(WriteSingleLine, AFailedWriteLeavesTheOldFileAndRaisesTheCreateError)
{
    TempFolder folder;
    const std::string missing = folder.file("image/1.bc");
    EXPECT_EQ(errorOf([&] { writeSingleLine(missing, "pw", true); }),
              "Cannot create file \"" + missing + "\". No such file or directory");

    const std::string folderInTheWay = folder.file("1.bc");
    std::filesystem::create_directory(folderInTheWay);
    EXPECT_EQ(errorOf([&] { writeSingleLine(folderInTheWay, "pw"); }),
              "Cannot create file \"" + folderInTheWay + "\". Is a directory");
    EXPECT_TRUE(std::filesystem::is_directory(folderInTheWay));
    EXPECT_EQ(namesIn(folder.path()).size(), 1u);
}

TEST(CopyFile, CopiesOverTheTargetAndReportsFailures)
{
    TempFolder folder;
    const std::string source = folder.file("chosen.jpg");
    const std::string target = folder.file("1.jpg");
    std::string picture(100000, '\0');
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<char>(i * 7);
    writeBytes(source, picture);
    writeBytes(target, "old picture that is longer than nothing");

    EXPECT_TRUE(copyFile(source, target));
    EXPECT_EQ(readBytes(target), picture);

    EXPECT_FALSE(copyFile(folder.file("absent.jpg"), target));
    EXPECT_EQ(readBytes(target), picture);
    EXPECT_FALSE(copyFile(source, folder.file("no/folder/1.jpg")));
    EXPECT_EQ(namesIn(folder.path()).size(), 2u);
}
