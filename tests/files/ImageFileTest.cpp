// Backup image names: the local date and time of the backup, and a number
// added when that name is already taken.
#include "ImageFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

using namespace zk;
using zk::test::TempFolder;

namespace {

// 8 December 2026, 04:45:12 local time.
std::chrono::system_clock::time_point backupTime()
{
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 8;
    local.tm_hour = 4;
    local.tm_min = 45;
    local.tm_sec = 12;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

} // namespace

TEST(BackupPath, IsNamedAfterTheLocalTimeInAFolderMadeForIt)
{
    TempFolder temp;
    const std::string folder = temp.file("backups/radio 1");
    EXPECT_EQ(newBackupPath(folder, backupTime()), folder + "/radio-2026-12-08-044512.img");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(BackupPath, ATakenNameGetsTheNextFreeNumber)
{
    TempFolder temp;
    const std::string folder = temp.path().string();
    test::writeBytes(folder + "/radio-2026-12-08-044512.img", "taken");
    EXPECT_EQ(newBackupPath(folder, backupTime()), folder + "/radio-2026-12-08-044512-2.img");
    // A link that leads nowhere takes its name too: writing there would
    // create the file it names.
    std::filesystem::create_symlink(folder + "/elsewhere.img", folder + "/radio-2026-12-08-044512-2.img");
    EXPECT_EQ(newBackupPath(folder, backupTime()), folder + "/radio-2026-12-08-044512-3.img");
    test::writeBytes(folder + "/radio-2026-12-08-044512-3.img", "taken");
    EXPECT_EQ(newBackupPath(folder, backupTime()), folder + "/radio-2026-12-08-044512-4.img");
}

TEST(BackupPath, AFolderThatCannotBeMadeIsAnError)
{
    TempFolder temp;
    test::writeBytes(temp.file("plain"), "a file, not a folder");
    const std::string error = test::errorOf([&] { newBackupPath(temp.file("plain/backups"), backupTime()); });
    EXPECT_EQ(error.rfind("Cannot create file \"" + temp.file("plain/backups") + "\".", 0), 0u) << error;
}
