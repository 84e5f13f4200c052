// Why a port cannot be used, told from a prepared system: the device's
// owner, group and mode against a made-up user, and other processes in a
// made-up /proc.
#include "FakeSystem.h"
#include "OpenFailure.h"
#include "PortAccess.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace zk;
using zk::test::FakeSystem;

namespace {

bool has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// A device file owned by this test, with a group the fake group file names
// "dialout" and the given mode; the fake user is not its owner.
class PermissionAdvice : public ::testing::Test {
protected:
    void SetUp() override
    {
        device = system.dev("ttyUSB0");
        std::ofstream(device).put('x');
        struct stat st {};
        ASSERT_EQ(::stat(device.c_str(), &st), 0);
        groupId = st.st_gid;
        // Root's group is never advised, so a test run as root moves the
        // file into another group first.
        if (groupId == 0) {
            ASSERT_EQ(::chown(device.c_str(), static_cast<uid_t>(-1), 20), 0);
            groupId = 20;
        }
    }

    void mode(mode_t bits) { ASSERT_EQ(::chmod(device.c_str(), bits), 0); }
    void groupFile(const std::string& members)
    {
        system.write("etc/group", "root:x:0:\nusers:x:100:ann\ndialout:x:" + std::to_string(groupId) + ":" +
                                      members + "\n");
    }

    FakeSystem system;
    std::string device;
    gid_t groupId = 0;
};

} // namespace

TEST_F(PermissionAdvice, NamesTheGroupOnlyWhenItMayUseTheDevice)
{
    mode(0660);
    groupFile("bob");
    std::string text = describeOpenFailure(device, EACCES, system.view);
    EXPECT_TRUE(has(text, "the group \"dialout\" may use it and your user is not a member")) << text;
    EXPECT_TRUE(has(text, "sudo usermod -aG dialout $USER, then log out and log in again")) << text;

    // Listed in the group file, yet this session began before: a new login.
    groupFile("bob,ann");
    text = describeOpenFailure(device, EPERM, system.view);
    EXPECT_TRUE(has(text, "your user is in the group \"dialout\"")) << text;
    EXPECT_TRUE(has(text, "log out and log in again")) << text;
    EXPECT_FALSE(has(text, "usermod")) << text;

    // The session has the group: the mode bits allow it, something else refuses.
    system.view.self.groups.push_back(groupId);
    EXPECT_TRUE(checkAccess(device, system.view).allowed);
    EXPECT_TRUE(has(describeOpenFailure(device, EACCES, system.view), "security policy"));
}

TEST_F(PermissionAdvice, AnOwnerOnlyDevicePointsAtTheUdevRule)
{
    system.usbAdapter("ttyUSB0", "1-1.2", "1a86", "7523", "A1");
    mode(0600);
    groupFile("ann");
    const std::string text = describeOpenFailure(device, EACCES, system.view);
    EXPECT_TRUE(has(text, "only its owner may use it (mode 0600)")) << text;
    EXPECT_TRUE(has(text, "zk-h41-cli doctor --port " + device)) << text;
    EXPECT_FALSE(has(text, "usermod")) << text;
    EXPECT_FALSE(has(text, "dialout")) << text;

    // A group that may only read is no way in either: joining it cannot help.
    mode(0640);
    EXPECT_EQ(describeOpenFailure(device, EACCES, system.view),
              "You have no permission to use " + device +
                  ": only its owner may use it (mode 0640) and no group is given access.\n"
                  "To fix it: a udev rule can give the logged-in user access: 'zk-h41-cli doctor --port " +
                  device + "' prints it.");
}

TEST_F(PermissionAdvice, AnOwnerOnlyDeviceWithoutARuleToHelpGetsTheCommandForRoot)
{
    mode(0600);
    system.write("etc/group", "root:x:0:\nann:x:4242:\n");
    // No USB adapter: no udev rule matches it.
    EXPECT_EQ(describeOpenFailure(device, EACCES, system.view),
              "You have no permission to use " + device +
                  ": only its owner may use it (mode 0600) and no group is given access.\n"
                  "To fix it: as root, give your group access (until the device is made again): sudo chgrp ann " +
                  device + " && sudo chmod g+rw " + device + ".");

    // A USB adapter on a machine where udev does not run.
    system.usbAdapter("ttyUSB0", "1-1.2", "1a86", "7523", "A1");
    std::filesystem::remove(system.path("run/udev"));
    EXPECT_EQ(checkAccess(device, system.view).remedy,
              "udev is not running here (no " + system.path("run/udev").string() +
                  "), so no udev rule can help; as root, give your group access (until the device is made again): "
                  "sudo chgrp ann " + device + " && sudo chmod g+rw " + device);

    // A user whose own group is root's gets the mode command instead.
    system.view.self.gid = 0;
    EXPECT_EQ(checkAccess(device, system.view).remedy,
              "udev is not running here (no " + system.path("run/udev").string() +
                  "), so no udev rule can help; as root, let every user use it (until the device is made again): "
                  "sudo chmod a+rw " + device);
}

TEST_F(PermissionAdvice, ADesktopUserIsSentToTheMenusNotToTheCommandLineTool)
{
    system.usbAdapter("ttyUSB0", "1-1.2", "1a86", "7523", "A1");
    mode(0600);
    groupFile("ann");
    EXPECT_EQ(checkAccess(device, system.view, AdviceFor::Desktop).remedy,
              "a udev rule can give the logged-in user access: Help > Connection Check shows it");
    EXPECT_EQ(checkAccess(system.dev("ttyUSB7"), system.view, AdviceFor::Desktop).remedy,
              "check the name in the Serial Port list");
}

TEST_F(PermissionAdvice, RootsGroupIsNeverAdvised)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "moving a file into root's group needs root";
    mode(0660);
    ASSERT_EQ(::chown(device.c_str(), static_cast<uid_t>(-1), 0), 0);
    groupFile("");
    const std::string text = describeOpenFailure(device, EACCES, system.view);
    EXPECT_FALSE(has(text, "usermod")) << text;
    EXPECT_FALSE(has(text, "\"root\"")) << text;
    EXPECT_TRUE(has(text, "only its owner may use it")) << text;
}

TEST(PortHolders, NameTheOtherProcessesThatHaveTheDeviceOpen)
{
    FakeSystem system;
    system.serialTty("ttyUSB0");
    const std::string device = system.dev("ttyUSB0");
    system.process(812, "ModemManager", device);
    system.process(77, "picocom", "/dev/null"); // the node's target counts as the same device
    system.process(900, "bash", system.dev("ttyS1"));
    system.process(1000, "zk-h41", device); // this process: not another holder
    // The far end of a pseudo-terminal (a virtual radio) holds its master.
    const std::string pty = system.dev("pts/7");
    system.process(500, "zk-h41-sim", pty);
    system.link("proc/500/fd/3", "/dev/ptmx");
    system.write("proc/500/fdinfo/3", "pos:\t0\ntty-index:\t7\n");
    system.process(501, "cat", pty);
    system.view.self.pid = 1000;

    const std::vector<PortHolder> holders = portHolders(device, system.view);
    ASSERT_EQ(holders.size(), 2u);
    EXPECT_EQ(holdersText(device, holders), "picocom (pid 77) also has " + device + " open.\nModemManager (pid 812) also has " +
                                                device + " open.");
    EXPECT_EQ(holdersText(pty, portHolders(pty, system.view)), "cat (pid 501) also has " + pty + " open.");
    const std::string busy = describeOpenFailure(device, EBUSY, system.view);
    EXPECT_EQ(busy, device + " is in use by another program. Close that program and try again.\n" +
                        holdersText(device, holders));
    EXPECT_EQ(describeOpenFailure(system.dev("ttyUSB9"), ENOENT, system.view),
              system.dev("ttyUSB9") + " does not exist. Is the cable plugged in?");
    EXPECT_TRUE(has(describeOpenFailure(device, EIO, system.view), std::strerror(EIO)));
}
