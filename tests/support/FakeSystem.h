#pragma once
// A made-up system in a temporary folder: sysfs, /proc, /dev, /run/udev and
// a group file as the connection checks read them, and a SystemView pointing there.
// Nothing of the real machine's serial ports is ever looked at.
#include "SystemView.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

#include <stdlib.h>

namespace zk::test {

class FakeSystem {
public:
    FakeSystem()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zk-system-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
        for (const char* dir : {"sys/class/tty", "proc", "dev", "etc", "run/udev"})
            std::filesystem::create_directories(root_ / dir);
        view.sysRoot = (root_ / "sys").string();
        view.procRoot = (root_ / "proc").string();
        view.devRoot = (root_ / "dev").string();
        view.groupFile = (root_ / "etc/group").string();
        view.udevRunRoot = (root_ / "run/udev").string(); // udev runs until a test removes it
        // A user and group no real file of the test belongs to.
        view.self = ProcessIdentity{4343, 4242, 4242, {4242}, "ann"};
        // The tree's nodes lead to /dev/null; they stand for serial lines.
        view.notSerialLineAnswer = [](const std::string&) { return std::string(); };
    }
    ~FakeSystem()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    FakeSystem(const FakeSystem&) = delete;
    FakeSystem& operator=(const FakeSystem&) = delete;

    std::filesystem::path path(const std::string& relative) const { return root_ / relative; }
    std::string dev(const std::string& name) const { return (root_ / "dev" / name).string(); }

    void write(const std::string& relative, const std::string& text) const
    {
        std::filesystem::create_directories(path(relative).parent_path());
        std::ofstream(path(relative)) << text;
    }
    void link(const std::string& relative, const std::string& target) const
    {
        std::filesystem::create_directories(path(relative).parent_path());
        std::filesystem::create_symlink(target, path(relative));
    }

    // A tty in sysfs with a device behind it, and its node in /dev: a link
    // to /dev/null, a real character device every user may open.
    void serialTty(const std::string& name) const
    {
        link("sys/class/tty/" + name + "/device", (root_ / "sys/devices/platform" / name).string());
        link("dev/" + name, "/dev/null");
    }

    // A USB adapter at usbPath (as 1-1.2) with its tty interface.
    void usbTty(const std::string& name, const std::string& usbPath, const std::string& vendor,
                const std::string& product, const std::string& serial) const
    {
        usbAdapter(name, usbPath, vendor, product, serial);
        link("dev/" + name, "/dev/null");
    }

    // The adapter in sysfs alone, for a test that makes the node itself.
    void usbAdapter(const std::string& name, const std::string& usbPath, const std::string& vendor,
                    const std::string& product, const std::string& serial) const
    {
        const std::string usb = "sys/devices/pci0000:00/usb1/" + usbPath;
        write(usb + "/idVendor", vendor + "\n");
        write(usb + "/idProduct", product + "\n");
        write(usb + "/manufacturer", "QinHeng\n");
        write(usb + "/product", "USB Serial\n");
        if (!serial.empty())
            write(usb + "/serial", serial + "\n");
        const std::string iface = usb + "/" + usbPath + ":1.0/" + name;
        std::filesystem::create_directories(path(usb + "/drivers/ch341-uart"));
        std::filesystem::create_directories(path(iface));
        link(iface + "/driver", (root_ / usb / "drivers/ch341-uart").string());
        link("sys/class/tty/" + name + "/device", (root_ / iface).string());
    }

    // A process with the given command name holding path open.
    void process(int pid, const std::string& name, const std::string& openPath = {}) const
    {
        write("proc/" + std::to_string(pid) + "/comm", name + "\n");
        std::filesystem::create_directories(path("proc/" + std::to_string(pid) + "/fd"));
        if (!openPath.empty())
            link("proc/" + std::to_string(pid) + "/fd/5", openPath);
    }

    void consoles(const std::string& active) const { write("sys/class/tty/console/active", active + "\n"); }

    SystemView view;

private:
    std::filesystem::path root_;
};

} // namespace zk::test
