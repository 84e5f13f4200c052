// What a programming station learns about its ports: the adapter's USB
// serial number from a prepared sysfs tree, and named paths coming and going
// in the order they did.
#include "AdapterSerial.h"
#include "PathPortEvents.h"
#include "WaitUntil.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace zk;

namespace {

fs::path root(const QTemporaryDir& dir)
{
    return fs::path(dir.path().toStdString());
}

TEST(AdapterSerial, ReadsTheSerialNumberOfTheUsbDeviceAboveThePort)
{
    QTemporaryDir dir;
    const fs::path sys = root(dir) / "sys";
    const fs::path usb = sys / "devices" / "pci0000:00" / "usb1" / "1-2";
    fs::create_directories(usb / "1-2:1.0" / "ttyUSB0");
    std::ofstream(usb / "idVendor") << "0403\n";
    std::ofstream(usb / "serial") << "A10KX3Z9\n";
    fs::create_directories(sys / "class" / "tty" / "ttyUSB0");
    fs::create_symlink(usb / "1-2:1.0" / "ttyUSB0", sys / "class" / "tty" / "ttyUSB0" / "device");
    fs::create_directories(sys / "devices" / "platform" / "serial8250" / "ttyS0");
    fs::create_directories(sys / "class" / "tty" / "ttyS0");
    fs::create_symlink(sys / "devices" / "platform" / "serial8250" / "ttyS0",
                       sys / "class" / "tty" / "ttyS0" / "device");
    // A link to the device node, as udev's by-id links are.
    fs::create_directories(root(dir) / "dev" / "by-id");
    std::ofstream(root(dir) / "dev" / "ttyUSB0").put('\0');
    fs::create_symlink(root(dir) / "dev" / "ttyUSB0", root(dir) / "dev" / "by-id" / "usb-FTDI-if00");

    EXPECT_EQ(adapterSerialNumber((root(dir) / "dev" / "by-id" / "usb-FTDI-if00").string(), sys.string()), "A10KX3Z9");
    // The adapter chooses its serial's bytes: a terminal's escape sequence
    // and a space must not reach the station's line as they are.
    const fs::path odd = sys / "devices" / "pci0000:00" / "usb1" / "1-3";
    fs::create_directories(odd / "1-3:1.0" / "ttyUSB1");
    std::ofstream(odd / "idVendor") << "1a86\n";
    std::ofstream(odd / "serial") << "AB\x1B]2;owned\x07 9\n";
    fs::create_directories(sys / "class" / "tty" / "ttyUSB1");
    fs::create_symlink(odd / "1-3:1.0" / "ttyUSB1", sys / "class" / "tty" / "ttyUSB1" / "device");
    EXPECT_EQ(adapterSerialNumber("/dev/ttyUSB1", sys.string()), "AB\\x1B]2;owned\\x07\\x209");

    EXPECT_EQ(adapterSerialNumber("/dev/ttyS0", sys.string()), "");   // no USB device above it
    EXPECT_EQ(adapterSerialNumber("/dev/ttyACM7", sys.string()), ""); // not in the tree at all
}

TEST(PathPortEvents, SeesPathsComeAndGoInOrderEvenWhenMadeAgainAtOnce)
{
    QTemporaryDir dir;
    const std::string there = (root(dir) / "there").string();
    const std::string later = (root(dir) / "later").string();
    std::ofstream(there).put('\0');
    std::vector<std::string> seen;
    PathPortEvents events({there, later}, 60000); // the folder notices alone
    events.onEvent = [&](const PortEvent& e) {
        seen.push_back((e.kind == PortEvent::Kind::Added ? "+" : "-") + fs::path(e.devNode).filename().string());
    };
    events.start();
    EXPECT_EQ(seen, std::vector<std::string>{"+there"});

    fs::remove(there);
    std::ofstream(there).put('\0'); // made again before anything looked
    fs::create_symlink(there, later);
    std::vector<std::string> expected = {"+there", "-there", "+there", "+later"};
    EXPECT_TRUE(test::waitUntil([&] { return seen.size() >= expected.size(); })) << seen.size();
    fs::remove(later);
    expected.push_back("-later");
    EXPECT_TRUE(test::waitUntil([&] { return seen.size() >= expected.size(); })) << seen.size();
    EXPECT_EQ(seen, expected);
}

} // namespace
