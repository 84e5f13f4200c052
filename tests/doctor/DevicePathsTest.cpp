// Device paths on real files and a prepared sysfs tree: one device under two
// names, and the way from a serial node up to its USB device.
#include "DevicePaths.h"
#include "FakeSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace zk;
using zk::test::FakeSystem;

TEST(SameDevice, ALinkAndTheNodeItLeadsToAreOneDevice)
{
    FakeSystem system;
    const std::string node = system.dev("ttyUSB5");
    std::ofstream(node).put('\0');
    system.link("dev/serial/by-id/usb-1a86-if00", node);
    system.link("dev/serial/by-id/usb-other-if00", system.dev("ttyUSB6"));

    EXPECT_TRUE(sameDevice(system.dev("serial/by-id/usb-1a86-if00"), node));
    EXPECT_TRUE(sameDevice(node, system.dev("serial/../ttyUSB5")));
    EXPECT_TRUE(sameDevice("/nonexistent/ttyUSB9", "/nonexistent/ttyUSB9"));
    EXPECT_FALSE(sameDevice(node, system.dev("ttyUSB6")));
    EXPECT_FALSE(sameDevice(system.dev("serial/by-id/usb-other-if00"), node));
}

TEST(DevicePaths, AUsbTtyLeadsUpToItsAdapterThroughALink)
{
    FakeSystem system;
    system.usbTty("ttyUSB0", "1-1.2", "1a86", "7523", "A1");
    // The node itself as a plain file, so a by-id link resolves to its name.
    fs::remove(system.path("dev/ttyUSB0"));
    std::ofstream(system.dev("ttyUSB0")).put('\0');
    system.link("dev/serial/by-id/usb-1a86-if00", system.dev("ttyUSB0"));
    const fs::path usb = fs::canonical(system.path("sys/devices/pci0000:00/usb1/1-1.2"));

    const fs::path tty = ttyDeviceFolder(system.dev("serial/by-id/usb-1a86-if00"), system.view.sysRoot);
    EXPECT_EQ(tty, usb / "1-1.2:1.0" / "ttyUSB0");
    EXPECT_EQ(usbDeviceFolder(tty, system.view.sysRoot), usb);
}

TEST(DevicePaths, ABuiltInPortHasNoUsbDeviceEvenAboveTheTree)
{
    FakeSystem system;
    system.serialTty("ttyS1");
    fs::create_directories(system.path("sys/devices/platform/ttyS1"));
    // Outside the sysfs root: never looked at.
    system.write("idVendor", "1a86\n");

    const fs::path tty = ttyDeviceFolder(system.dev("ttyS1"), system.view.sysRoot);
    EXPECT_EQ(tty, fs::canonical(system.path("sys/devices/platform/ttyS1")));
    EXPECT_EQ(usbDeviceFolder(tty, system.view.sysRoot), fs::path());
    EXPECT_EQ(ttyDeviceFolder(system.dev("ttyACM3"), system.view.sysRoot), fs::path()); // not in sysfs
}
