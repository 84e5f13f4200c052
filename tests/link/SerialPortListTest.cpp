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

TEST(SerialPortList, ActiveConsolesAreNeverListedNorOpenedFirst)
{
    FakeTree t;
    t.tty("ttyS0", true, "4");
    t.tty("ttyS1", true, "4");
    t.tty("ttyUSB0", true);
    const fs::path active = t.sys() / "class" / "tty" / "console";
    fs::create_directories(active);
    std::ofstream(active / "active") << "tty0 ttyS0\n";
    const std::string sys = t.sys().string();
    const auto d = t.dev().string();

    EXPECT_EQ(activeConsoles(sys), (std::vector<std::string>{"tty0", "ttyS0"}));
    EXPECT_EQ(enumerateSerialPorts(sys, d), (std::vector<std::string>{d + "/ttyS1", d + "/ttyUSB0"}));
    // A link to the console is the console; named by the user it is listed.
    fs::create_symlink(t.dev() / "ttyS0", t.dev() / "serial-console");
    EXPECT_TRUE(isConsolePort(d + "/serial-console", sys));
    EXPECT_TRUE(isConsolePort(d + "/ttyS0", sys));
    EXPECT_FALSE(isConsolePort(d + "/ttyS1", sys));
    const std::vector<std::string> named = portChoices({sys, d, {d + "/ttyS0"}});
    EXPECT_EQ(named, (std::vector<std::string>{d + "/ttyS0", d + "/ttyS1", d + "/ttyUSB0"}));
    EXPECT_EQ(firstNonConsole(named, sys), 1);
    EXPECT_EQ(firstNonConsole({d + "/ttyS0"}, sys), -1);
}
