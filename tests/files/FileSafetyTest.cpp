// What saving and opening do with what a hostile or unlucky user puts in
// their way: devices, pipes, links, other users' files, a full disk, and
// files far too large. Real files in a temporary folder throughout.
#include "ChannelFile.h"
#include "FileIo.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zk;
using zk::test::errorOf;
using zk::test::modeOf;
using zk::test::namesIn;
using zk::test::readBytes;
using zk::test::TempFolder;
using zk::test::writeBytes;

namespace {

constexpr uid_t kNobody = 65534;

bool isRoot()
{
    return ::geteuid() == 0;
}

// Runs the action in a child process, as `nobody` when asked (which needs
// root) and under a file size limit when one is given, and gives back the
// error text it raised ("" for none), or "<child failed>".
std::string errorInChild(const std::function<void()>& action, bool asNobody, rlim_t sizeLimit = RLIM_INFINITY)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return "<child failed>";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const rlimit limit{sizeLimit, RLIM_INFINITY};
        ::signal(SIGXFSZ, SIG_IGN); // past the limit a write fails instead of killing
        if ((asNobody && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ||
            ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(2);
        const std::string error = errorOf(action);
        const bool sent = ::write(fds[1], error.data(), error.size()) == static_cast<ssize_t>(error.size());
        ::_exit(sent ? 0 : 2);
    }
    ::close(fds[1]);
    std::string error;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        error.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? error : "<child failed>";
}

std::string createError(const std::string& path, const std::string& reason)
{
    return "Cannot create file \"" + path + "\". " + reason;
}

std::string openError(const std::string& path, const std::string& reason)
{
    return "Cannot open file \"" + path + "\". " + reason;
}

struct stat statOf(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

const std::string kPlan = writeChannelText(ChannelTable());

} // namespace

TEST(FileSafety, DevicesPipesAndFoldersAreNeitherReplacedNorRead)
{
    TempFolder folder;
    const std::string pipe = folder.file("pipe.bc");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const std::string linkToPipe = folder.file("link.bc");
    std::filesystem::create_symlink(pipe, linkToPipe);
    const std::string notAFile = "It is a pipe, not a file";
    EXPECT_EQ(errorOf([&] { replaceFile(pipe, kPlan); }), createError(pipe, notAFile));
    EXPECT_EQ(errorOf([&] { replaceFile(linkToPipe, kPlan); }), createError(linkToPipe, notAFile));
    // Without a writer, opening the pipe to read would wait for ever.
    EXPECT_EQ(errorOf([&] { readRegularFile(pipe, kChannelFileKind); }), openError(pipe, notAFile));
    EXPECT_TRUE(S_ISFIFO(statOf(pipe).st_mode));
    EXPECT_TRUE(S_ISLNK(statOf(linkToPipe).st_mode));

    // /dev/zero would fill the memory; it is refused before it is opened.
    EXPECT_EQ(errorOf([] { readRegularFile("/dev/zero", kChannelFileKind); }),
              openError("/dev/zero", "It is a device, not a file"));

    if (!isRoot())
        GTEST_SKIP() << "making device nodes needs root";
    // A copy of the null device where, as root, a save would once have
    // replaced it by a plain file.
    const std::string device = folder.file("null.bc");
    ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    EXPECT_EQ(errorOf([&] { saveChannelFile(device, ChannelTable()); }),
              createError(device, "It is a device, not a file"));
    EXPECT_TRUE(S_ISCHR(statOf(device).st_mode));
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"link.bc", "null.bc", "pipe.bc"}));
}

TEST(FileSafety, OnlyAFileTheUserMayWriteIsReplaced)
{
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0777); // a folder everyone may write in
    const std::string readOnly = folder.file("read-only.bc");
    const std::string others = folder.file("others.bc");
    writeBytes(readOnly, "old");
    writeBytes(others, "theirs");
    ::chmod(readOnly.c_str(), 0444);
    ::chmod(others.c_str(), 0644);
    const std::string denied = "Permission denied";
    if (isRoot()) {
        // Root may write anything; the user whose files these are not may not.
        EXPECT_EQ(errorInChild([&] { replaceFile(readOnly, kPlan); }, true), createError(readOnly, denied));
        EXPECT_EQ(errorInChild([&] { replaceFile(others, kPlan); }, true), createError(others, denied));
    } else {
        EXPECT_EQ(errorOf([&] { replaceFile(readOnly, kPlan); }), createError(readOnly, denied));
    }
    EXPECT_EQ(readBytes(readOnly), "old");
    EXPECT_EQ(readBytes(others), "theirs");
    EXPECT_EQ(modeOf(readOnly), 0444u);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"others.bc", "read-only.bc"}));
}

TEST(FileSafety, AReplacedFileKeepsItsOwnerGroupAndMode)
{
    if (!isRoot())
        GTEST_SKIP() << "files of another user need root";
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0755);
    // Root saving over a user's private file: it stays theirs.
    const std::string users = folder.file("users.bc");
    writeBytes(users, "old");
    ASSERT_EQ(::chown(users.c_str(), kNobody, kNobody), 0);
    ::chmod(users.c_str(), 0600);
    saveChannelFile(users, ChannelTable());
    EXPECT_EQ(readBytes(users), kPlan);
    EXPECT_EQ(statOf(users).st_uid, kNobody);
    EXPECT_EQ(statOf(users).st_gid, kNobody);
    EXPECT_EQ(modeOf(users), 0600u);

    // Root saving over its own file that a group shares: the group stays,
    // or its other members could no longer open it.
    const std::string grouped = folder.file("grouped.bc");
    writeBytes(grouped, "old");
    ASSERT_EQ(::chown(grouped.c_str(), 0, kNobody), 0);
    ::chmod(grouped.c_str(), 0660);
    saveChannelFile(grouped, ChannelTable());
    EXPECT_EQ(readBytes(grouped), kPlan);
    EXPECT_EQ(statOf(grouped).st_uid, 0u);
    EXPECT_EQ(statOf(grouped).st_gid, kNobody);
    EXPECT_EQ(modeOf(grouped), 0660u);

    // A user writing root's shared file, in a folder where the user may
    // create nothing: written in place, still root's.
    const std::string shared = folder.file("shared.bc");
    writeBytes(shared, "old");
    ::chmod(shared.c_str(), 0666);
    EXPECT_EQ(errorInChild([&] { saveChannelFile(shared, ChannelTable()); }, true), "");
    EXPECT_EQ(readBytes(shared), kPlan);
    EXPECT_EQ(statOf(shared).st_uid, 0u);
    EXPECT_EQ(modeOf(shared), 0666u);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"grouped.bc", "shared.bc", "users.bc"}));
}

TEST(FileSafety, LinksWriteTheFileTheyLeadTo)
{
    TempFolder folder;
    // A dangling link, through a second link: the file is created where it points.
    const std::string first = folder.file("first.bc");
    std::filesystem::create_symlink("second.bc", first);
    std::filesystem::create_symlink("made.bc", folder.file("second.bc"));
    saveChannelFile(first, ChannelTable());
    EXPECT_TRUE(S_ISLNK(statOf(first).st_mode));
    EXPECT_EQ(readBytes(folder.file("made.bc")), kPlan);

    // A second hard link sees the new contents: the file is written in place.
    const std::string one = folder.file("one.bc");
    const std::string two = folder.file("two.bc");
    writeBytes(one, std::string(5000, 'x'));
    ASSERT_EQ(::link(one.c_str(), two.c_str()), 0);
    const ino_t inode = statOf(one).st_ino;
    saveChannelFile(two, ChannelTable());
    EXPECT_EQ(readBytes(one), kPlan);
    EXPECT_EQ(statOf(one).st_ino, inode);
    EXPECT_EQ(statOf(two).st_ino, inode);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"first.bc", "made.bc", "one.bc", "second.bc", "two.bc"}));
}

TEST(FileSafety, AFullDiskLeavesTheOldFileWhole)
{
    TempFolder folder;
    const std::string single = folder.file("single.bc");
    const std::string linked = folder.file("linked.bc");
    writeBytes(single, "old single");
    writeBytes(linked, "old linked");
    ASSERT_EQ(::link(linked.c_str(), folder.file("other-name.bc").c_str()), 0);
    const std::string big(5000, 'n');
    // The size limit stands in for a full disk: writes past it fail.
    for (const std::string& path : {single, linked})
        EXPECT_EQ(errorInChild([&] { replaceFile(path, big); }, false, 1000), createError(path, "File too large"));
    EXPECT_EQ(readBytes(single), "old single");
    EXPECT_EQ(readBytes(linked), "old linked");
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"linked.bc", "other-name.bc", "single.bc"}));
}

// Cut off after some of the new plan was written: a save that wrote into the
// old file, even one that reserved the space first, would have spoilt it.
TEST(FileSafety, ASaveCutOffMidWriteLeavesTheOldPlanWhole)
{
    TempFolder folder;
    const std::string path = folder.file("plan.bc");
    ChannelTable old;
    for (int row = 1; row <= 16; ++row) {
        old.setCell(ColRx, row, "145.50000");
        old.setCell(ColTx, row, "145.50000");
        old.setCell(ColDecode, row, "D023N");
    }
    saveChannelFile(path, old);
    const std::string oldBytes = readBytes(path);
    ASSERT_GT(oldBytes.size(), kPlan.size()) << "no room to reserve: the cut comes mid-write";
    EXPECT_EQ(errorInChild([&] { saveChannelFile(path, ChannelTable()); }, false, 100),
              createError(path, "File too large"));
    EXPECT_EQ(readBytes(path), oldBytes);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"plan.bc"});
}

TEST(FileSafety, ReadsStopAtTheLimitOfTheirKind)
{
    TempFolder folder;
    const std::string huge = folder.file("huge.bc");
    writeBytes(huge, "");
    ASSERT_EQ(::truncate(huge.c_str(), (1 << 20) + 1), 0);
    EXPECT_EQ(errorOf([&] { readRegularFile(huge, kChannelFileKind); }),
              openError(huge, "It is too large to be a channel file (over 1 MiB)"));
    ASSERT_EQ(::truncate(huge.c_str(), 1 << 20), 0);
    EXPECT_EQ(readRegularFile(huge, kChannelFileKind).size(), std::size_t{1} << 20);

    // A stream has no size to look at first: reading stops one byte past.
    const int zero = ::open("/dev/zero", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(zero, 0);
    EXPECT_EQ(errorOf([&] { readBoundedStream(zero, "standard input", kRecordsFileKind); }),
              "Cannot read standard input. It is too large to be a records file (over 1 MiB)");
    ::close(zero);
}
