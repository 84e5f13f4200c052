// The connection check on a prepared system: a USB adapter in sysfs, a
// modem manager holding it, a Braille daemon, the console; and how probe
// replies are judged.
#include "ConnectionCheck.h"
#include "DeviceInfo.h"
#include "FakeSystem.h"
#include "RadioProbe.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zk;
using zk::test::FakeSystem;

TEST(ConnectionCheck, AUsbAdapterHeldByAModemManagerGetsItsRuleAndRemedies)
{
    FakeSystem system;
    system.usbTty("ttyUSB0", "1-1.2", "1a86", "7523", "A1");
    system.consoles("ttyS0");
    const std::string port = system.dev("ttyUSB0");
    system.process(812, "ModemManager", port);
    system.process(300, "brltty");

    const CheckReport report = checkConnection("", system.view);
    EXPECT_FALSE(report.failed());
    EXPECT_EQ(report.text(),
              "ok    " + port + " exists and is a serial line\n"
              "ok    " + port + " is a USB adapter 1a86:7523, driver ch341-uart, \"QinHeng USB Serial\", serial number A1\n"
              "ok    you may read and write " + port + "\n"
              "warn  ModemManager (pid 812) also has " + port + " open.\n"
              "      fix: close that program: replies would be shared with it\n"
              "ok    " + port + " is not the system console\n"
              "warn  ModemManager (a modem manager) is running; it probes new USB serial adapters and can take replies\n"
              "      fix: keep it away with the udev rule below, or: sudo systemctl stop ModemManager\n"
              "warn  brltty (a Braille display daemon) is running; it claims some USB serial adapters as Braille displays\n"
              "      fix: if no Braille display is used: sudo apt remove brltty\n"
              "\n"
              "To give the logged-in user access and keep modem managers away, put this line\n"
              "into /etc/udev/rules.d/70-zk-h41.rules, run 'sudo udevadm control --reload'\n"
              "and plug the cable in again:\n"
              "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523\", TAG+=\"uaccess\", "
              "ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n");
}

TEST(ConnectionCheck, WithoutUdevNoRuleIsOffered)
{
    FakeSystem system;
    system.usbTty("ttyUSB0", "1-1.2", "1a86", "7523", "A1");
    system.process(812, "ModemManager");
    std::filesystem::remove(system.path("run/udev"));
    const std::string port = system.dev("ttyUSB0");
    const CheckReport report = checkConnection("", system.view);
    EXPECT_TRUE(report.udevRules.empty());
    EXPECT_EQ(report.text(),
              "ok    " + port + " exists and is a serial line\n"
              "ok    " + port + " is a USB adapter 1a86:7523, driver ch341-uart, \"QinHeng USB Serial\", serial number A1\n"
              "ok    you may read and write " + port + "\n"
              "ok    no other process has " + port + " open\n"
              "ok    " + port + " is not the system console\n"
              "warn  ModemManager (a modem manager) is running; it probes new USB serial adapters and can take replies\n"
              "      fix: sudo systemctl stop ModemManager\n");
}

TEST(ConnectionCheck, TheConsoleIsFlaggedAndAMissingPortFails)
{
    FakeSystem system;
    system.serialTty("ttyS0");
    system.consoles("tty0 ttyS0");
    CheckReport report = checkConnection(system.dev("ttyS0"), system.view);
    EXPECT_FALSE(report.failed());
    EXPECT_TRUE(report.udevRules.empty()) << "no rule for a device that is no USB adapter";
    const std::string text = report.text();
    EXPECT_NE(text.find("ok    " + system.dev("ttyS0") + " is not a USB adapter\n"), std::string::npos) << text;
    EXPECT_NE(text.find("warn  " + system.dev("ttyS0") + " is the system console;"), std::string::npos) << text;
    const std::string desktop = checkConnection(system.dev("ttyS0"), system.view, AdviceFor::Desktop).text();
    EXPECT_NE(desktop.find("\n      fix: pick the cable's port in the Serial Port list instead\n"), std::string::npos);

    report = checkConnection(system.dev("ttyUSB3"), system.view);
    EXPECT_TRUE(report.failed());
    EXPECT_EQ(report.text(), "fail  " + system.dev("ttyUSB3") +
                                 " does not exist\n      fix: plug the cable in; 'zk-h41-cli ports' lists the serial ports\n");
    EXPECT_TRUE(checkConnection("", system.view).failed()) << "only a console: no port to use";
}

TEST(ConnectionCheck, AReplugedAdapterIsKnownBySerialNumberOrPlace)
{
    FakeSystem system;
    system.usbTty("ttyUSB0", "1-1.2", "1a86", "7523", "A1");
    system.usbTty("ttyUSB1", "1-1.3", "1a86", "7523", "A1"); // the same adapter in another socket
    system.usbTty("ttyUSB3", "1-1.4", "1a86", "7523", "B7");
    const SerialDeviceInfo first = describeDevice(system.dev("ttyUSB0"), system.view);
    EXPECT_EQ(first.usbPath, "1-1.2");
    EXPECT_EQ(first.product, "USB Serial");
    EXPECT_TRUE(first.sameAdapter(describeDevice(system.dev("ttyUSB1"), system.view)));
    EXPECT_FALSE(first.sameAdapter(describeDevice(system.dev("ttyUSB3"), system.view)));

    // An adapter without a serial number is known by its socket.
    SerialDeviceInfo other = first;
    other.vendorId = "067b";
    other.serial.clear();
    EXPECT_TRUE(first.sameAdapter(other));
    other.usbPath = "1-1.4";
    EXPECT_FALSE(first.sameAdapter(other));
    // Anything else only by its path, as the virtual radio's link.
    EXPECT_FALSE(first.sameAdapter(describeDevice("/tmp/radio-link", system.view)));
    const SerialDeviceInfo link = describeDevice("/tmp/radio-link", system.view);
    EXPECT_TRUE(link.sameAdapter(describeDevice("/tmp/radio-link", system.view)));
    EXPECT_FALSE(link.sameAdapter(describeDevice("/tmp/other-link", system.view)));
}

TEST(RadioProbe, RepliesAreJudgedByWhatCameBack)
{
    const std::vector<std::uint8_t> ack{0x06};
    const std::vector<std::uint8_t> reply(68, 0xFF);
    const std::vector<std::uint8_t> echoed{'P', 'R', 'O', 'G', 'R', 'A', 'M', 0x06};
    EXPECT_EQ(classifyProbe(ack, reply), ProbeVerdict::Answered);
    EXPECT_EQ(classifyProbe({}, reply), ProbeVerdict::Answered) << "the handshake's answer is not relied on";
    EXPECT_EQ(classifyProbe({}, {}), ProbeVerdict::Silent);
    EXPECT_EQ(classifyProbe(ack, {}), ProbeVerdict::Partial);
    EXPECT_EQ(classifyProbe(ack, std::vector<std::uint8_t>(67, 0xFF)), ProbeVerdict::Partial);
    EXPECT_EQ(classifyProbe(echoed, std::vector<std::uint8_t>(72, 0xFF)), ProbeVerdict::Echo);
}
