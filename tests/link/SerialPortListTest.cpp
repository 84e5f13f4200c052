#include "SerialPortList.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace zk;

namespace {

// A sysfs and /dev pair as the kernel would show them.
struct FakeTree {
    QTemporaryDir dir;
    fs::path sys() const { return fs::path(dir.path().toStdString()) / "sys"; }
    fs::path dev() const { return fs::path(dir.path().toStdString()) / "dev"; }

    void tty(const std::string& name, bool device, const char* uartType = nullptr, bool node = true)
    {
        const fs::path entry = sys() / "class" / "tty" / name;
        fs::create_directories(entry);
        if (device)
            fs::create_directories(entry / "device");
        if (uartType)
            std::ofstream(entry / "type") << uartType << "\n";
        fs::create_directories(dev());
        if (node)
            std::ofstream(dev() / name).put('\0');
    }
};

} // namespace

TEST(SerialPortList, ListsRealSerialDevicesSortedIgnoringCase)
{
    FakeTree t;
    t.tty("ttyS0", true, "4");
    t.tty("ttyS1", true, "0");  // empty legacy slot
    t.tty("ttyUSB10", true);
    t.tty("ttyUSB2", true);
    t.tty("ttyACM0", true);
    t.tty("ttyAMA0", true);
    t.tty("rfcomm0", true);
    t.tty("tty1", false);       // a virtual console
    t.tty("ttyUSB3", false);    // no device behind it
    t.tty("ttyUSB4", true, nullptr, false); // no node in /dev
    const auto d = t.dev().string();
    EXPECT_EQ(enumerateSerialPorts(t.sys().string(), d),
              (std::vector<std::string>{d + "/rfcomm0", d + "/ttyACM0", d + "/ttyAMA0", d + "/ttyS0",
                                        d + "/ttyUSB10", d + "/ttyUSB2"}));
}

TEST(SerialPortList, MissingSysfsGivesAnEmptyList)
{
    EXPECT_TRUE(enumerateSerialPorts("/nonexistent/sys", "/dev").empty());
}

TEST(SerialPortList, SortIsCaseInsensitiveText)
{
    std::vector<std::string> names{"COM2", "com10", "COM1"};
    sortPortNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"COM1", "com10", "COM2"}));
}
