// Where the side files live: beside the program when this user may write
// there, else in the user's own data folder, made from the installed
// defaults.
#include "AppFolder.h"
#include "ApplicationFolder.h"
#include "Errors.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

using zk::test::AppFolder;

namespace {

class SideFileFolder : public ::testing::Test {
protected:
    SideFileFolder()
    {
        std::filesystem::remove_all(program.path("image"));
        defaults.write("image/1.bc", "123456\r\n");
        defaults.write("image/2.bc", "ZK-H41 Program Setting\r\n");
        defaults.write("image/1.jpg", "picture bytes");
    }

    zk::FolderPlaces places() const
    {
        return {program.folder(), user.folder(), defaults.path("image")};
    }

    AppFolder program; // the folder the program file is in
    AppFolder user;    // the user's data folder
    AppFolder defaults;
};

TEST_F(SideFileFolder, BesideTheProgramWhenItsImageFolderIsThere)
{
    std::filesystem::create_directory(program.path("image"));
    EXPECT_EQ(zk::chooseApplicationFolder(places()), program.folder());
    EXPECT_NE(zk::describeSideFileFolder(places()).find(program.folder() + "image/ (beside the program)"),
              std::string::npos);
}

TEST_F(SideFileFolder, TheUsersOwnFolderIsMadeFromTheDefaults)
{
    std::filesystem::remove_all(user.path("image"));
    EXPECT_EQ(zk::chooseApplicationFolder(places()), user.folder());
    EXPECT_NE(zk::describeSideFileFolder(places()).find(user.folder() + "image/ (your own"), std::string::npos);
    EXPECT_FALSE(user.exists("image")); // deciding makes nothing

    zk::provideSideFiles(user.folder(), defaults.path("image"));
    EXPECT_EQ(user.read("image/1.bc"), "123456\r\n");
    EXPECT_EQ(user.read("image/2.bc"), "ZK-H41 Program Setting\r\n");
    EXPECT_EQ(user.read("image/1.jpg"), "picture bytes");
    EXPECT_EQ(user.mode("image/1.bc"), 0600u);
    EXPECT_EQ(user.imageEntries(), (std::vector<std::string>{"1.bc", "1.jpg", "2.bc"}));
}

TEST_F(SideFileFolder, FoldersMadeForTheUserAreTheirsAloneAndOthersKeepTheirMode)
{
    std::filesystem::create_directory(user.path("local"));
    ASSERT_EQ(::chmod(user.path("local").c_str(), 0755), 0);
    zk::provideSideFiles(user.path("local/share/zk-h41/"), defaults.path("image"));
    EXPECT_EQ(user.read("local/share/zk-h41/image/2.bc"), "ZK-H41 Program Setting\r\n");
    EXPECT_EQ(user.mode("local"), 0755u);
    EXPECT_EQ(user.mode("local/share"), 0700u);
    EXPECT_EQ(user.mode("local/share/zk-h41"), 0700u);
    EXPECT_EQ(user.mode("local/share/zk-h41/image"), 0700u);
}

TEST_F(SideFileFolder, WithoutADataFolderTheProgramsOwnIsUsed)
{
    zk::FolderPlaces unknown = places();
    unknown.userDataFolder.clear();
    EXPECT_EQ(zk::chooseApplicationFolder(unknown), program.folder());
}

TEST_F(SideFileFolder, WhatTheUserChangedIsKeptAndWhatIsMissingComesBack)
{
    user.write("image/1.bc", "changed\r\n");
    user.write("image/1.jpg", "own picture");
    zk::provideSideFiles(user.folder(), defaults.path("image"));
    EXPECT_EQ(user.read("image/1.bc"), "changed\r\n");
    EXPECT_EQ(user.read("image/1.jpg"), "own picture");
    EXPECT_EQ(user.read("image/2.bc"), "ZK-H41 Program Setting\r\n");
}

TEST_F(SideFileFolder, MissingDefaultsAreReportedByName)
{
    std::filesystem::remove(defaults.path("image/2.bc"));
    try {
        zk::provideSideFiles(user.folder(), defaults.path("image"));
        FAIL() << "no error";
    } catch (const zk::AppError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + defaults.path("image/2.bc") + "\".", 0), 0u)
            << e.what();
    }
    EXPECT_FALSE(user.exists("image/2.bc"));
}

TEST(SideFilePlaces, TheDataFolderIsNamedAfterTheProgramAlone)
{
    QTemporaryDir dataHome;
    const bool hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    const QString oldName = QCoreApplication::applicationName();
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QCoreApplication::setApplicationName(QStringLiteral("zk-h41"));

    const zk::FolderPlaces places = zk::folderPlaces();
    EXPECT_EQ(places.userDataFolder, dataHome.path().toStdString() + "/zk-h41/");
    const std::string programParent = std::filesystem::path(places.programFolder).parent_path().parent_path().string();
    EXPECT_EQ(places.defaultsFolder, programParent + "/share/zk-h41/image");

    QCoreApplication::setApplicationName(oldName);
    if (hadDataHome)
        qputenv("XDG_DATA_HOME", oldDataHome);
    else
        qunsetenv("XDG_DATA_HOME");
}

} // namespace
