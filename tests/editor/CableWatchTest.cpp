// Which device events concern the window's port: a prepared sysfs tree with
// USB adapters, no real device.
#include "CableWatch.h"
#include "FakeSystem.h"

#include <gtest/gtest.h>

#include <filesystem>

using zk::CableWatch;
using zk::test::FakeSystem;

TEST(CableWatch, TheSameAdapterIsBroughtBackUnderAnotherNameAfterAnUnplug)
{
    FakeSystem system;
    system.usbTty("ttyUSB0", "1-1.2", "1a86", "7523", "A1");
    system.usbTty("ttyUSB1", "1-1.3", "1a86", "7523", "A1"); // the same adapter, replugged elsewhere
    system.usbTty("ttyUSB2", "1-1.4", "0403", "6001", "B7"); // another adapter
    CableWatch cable(system.view);

    cable.opened(system.dev("ttyUSB0"));
    EXPECT_TRUE(cable.portOpen());
    EXPECT_FALSE(cable.bringsBack(system.dev("ttyUSB1"))) << "nothing is awaited while the port is open";

    EXPECT_TRUE(cable.unplugged());
    EXPECT_FALSE(cable.portOpen());
    EXPECT_FALSE(cable.unplugged()) << "one unplug is noted once";
    EXPECT_TRUE(cable.bringsBack(system.dev("ttyUSB1")));
    EXPECT_FALSE(cable.bringsBack(system.dev("ttyUSB2")));

    cable.opened(system.dev("ttyUSB1"));
    EXPECT_FALSE(cable.bringsBack(system.dev("ttyUSB1"))) << "opened again, nothing is awaited";
}

TEST(CableWatch, NothingIsAwaitedWhenNoPortWasOpen)
{
    FakeSystem system;
    system.usbTty("ttyUSB0", "1-1.2", "1a86", "7523", "A1");
    CableWatch cable(system.view);
    EXPECT_FALSE(cable.unplugged());
    EXPECT_FALSE(cable.bringsBack(system.dev("ttyUSB0")));
}

TEST(CableWatch, ARemovedNodeIsTheOpenPortsAlsoUnderALinkedName)
{
    FakeSystem system;
    // Nodes of their own: two links to /dev/null would be one node.
    system.write("dev/ttyUSB0", "");
    system.write("dev/ttyUSB1", "");
    const std::string byId = system.path("dev/serial-by-id").string();
    std::filesystem::create_symlink(system.dev("ttyUSB0"), byId);

    EXPECT_TRUE(CableWatch::removes(system.dev("ttyUSB0"), system.dev("ttyUSB0")));
    EXPECT_TRUE(CableWatch::removes(system.dev("ttyUSB0"), byId));
    EXPECT_FALSE(CableWatch::removes(system.dev("ttyUSB1"), system.dev("ttyUSB0")));
}
