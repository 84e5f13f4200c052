#include "ConnectionCheck.h"

#include "DeviceInfo.h"
#include "PortAccess.h"
#include "SerialPortList.h"
#include "Trimmed.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zk {

namespace {

struct KnownService {
    const char* process;
    const char* what;
    const char* remedy;
    const char* remedyWithoutRule; // when the report holds no udev rule
};

// Services that open new USB serial adapters on their own.
const KnownService kKnownServices[] = {
    {"ModemManager", "ModemManager (a modem manager) is running; it probes new USB serial adapters and can take replies",
     "keep it away with the udev rule below, or: sudo systemctl stop ModemManager",
     "sudo systemctl stop ModemManager"},
    {"brltty", "brltty (a Braille display daemon) is running; it claims some USB serial adapters as Braille displays",
     "if no Braille display is used: sudo apt remove brltty", "if no Braille display is used: sudo apt remove brltty"},
};

std::vector<std::string> runningCommands(const SystemView& view)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(view.procRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string id = it->path().filename().string();
        if (!id.empty() && id.find_first_not_of("0123456789") == std::string::npos)
            names.push_back(trimmed(readTextFile((it->path() / "comm").string()), kBlanksAndLineEnds));
    }
    return names;
}

std::string describeAdapter(const SerialDeviceInfo& info)
{
    if (!info.usb)
        return info.path + " is not a USB adapter" + (info.driver.empty() ? "" : " (driver " + info.driver + ")");
    std::string text = info.path + " is a USB adapter " + info.vendorId + ":" + info.productId;
    if (!info.driver.empty())
        text += ", driver " + info.driver;
    if (!info.manufacturer.empty() || !info.product.empty())
        text += ", \"" + trimmed(info.manufacturer + " " + info.product, kBlanksAndLineEnds) + "\"";
    if (!info.serial.empty())
        text += ", serial number " + info.serial;
    return text;
}

} // namespace

bool CheckReport::failed() const
{
    return std::any_of(lines.begin(), lines.end(), [](const CheckLine& l) { return l.level == CheckLevel::Fail; });
}

void CheckReport::add(CheckLevel level, std::string text, std::string remedy)
{
    lines.push_back({level, std::move(text), std::move(remedy)});
}

std::string CheckReport::text() const
{
    std::string out;
    for (const CheckLine& line : lines) {
        out += line.level == CheckLevel::Ok ? "ok    " : line.level == CheckLevel::Warn ? "warn  " : "fail  ";
        out += line.text + '\n';
        if (!line.remedy.empty())
            out += "      fix: " + line.remedy + '\n';
    }
    if (!udevRules.empty()) {
        out += "\nTo give the logged-in user access and keep modem managers away, put this line\n"
               "into /etc/udev/rules.d/70-zk-h41.rules, run 'sudo udevadm control --reload'\n"
               "and plug the cable in again:\n";
        for (const std::string& rule : udevRules)
            out += rule + '\n';
    }
    return out;
}

namespace {

void checkServices(const SystemView& view, CheckReport& report)
{
    const std::vector<std::string> running = runningCommands(view);
    for (const KnownService& service : kKnownServices)
        if (std::find(running.begin(), running.end(), service.process) != running.end())
            report.add(CheckLevel::Warn, service.what,
                       report.udevRules.empty() ? service.remedyWithoutRule : service.remedy);
}

// Where a reader finds the serial ports.
const char* portListAdvice(AdviceFor reader)
{
    return reader == AdviceFor::Desktop ? "the Serial Port list above the channels shows the serial ports"
                                        : "'zk-h41-cli ports' lists the serial ports";
}

// Checks one port: that it exists and is a serial line, what it is, the
// permissions for this process, other processes that have it open, and the
// console.
void checkPort(const std::string& path, const SystemView& view, AdviceFor reader, CheckReport& report)
{
    const auto owner = view.owner(path);
    if (!owner) {
        std::error_code error;
        if (fs::is_symlink(fs::symlink_status(path, error)) && !fs::exists(path, error) &&
            error == std::errc::too_many_symbolic_link_levels)
            report.add(CheckLevel::Fail, path + " is a loop of symbolic links",
                       "point the link at the cable's port, as /dev/ttyUSB0");
        else
            report.add(CheckLevel::Fail, path + " does not exist",
                       std::string("plug the cable in; ") + portListAdvice(reader));
        return;
    }
    const std::string notSerial = view.notSerialLine(path);
    if (!notSerial.empty()) {
        report.add(CheckLevel::Fail, path + " is " + notSerial + " but not a serial line",
                   "name the cable's port, as /dev/ttyUSB0");
        return;
    }
    report.add(CheckLevel::Ok, path + " exists and is a serial line");

    const SerialDeviceInfo info = describeDevice(path, view);
    report.add(CheckLevel::Ok, describeAdapter(info));
    // A rule is no help where udev does not run: the access advice says so.
    const std::string rule = view.udevRunning() ? udevRule(info) : std::string();
    if (!rule.empty())
        report.udevRules.push_back(rule);

    const AccessCheck access = checkAccess(path, view, reader);
    if (access.allowed)
        report.add(CheckLevel::Ok, "you may read and write " + path);
    else
        report.add(CheckLevel::Fail, "you may not use " + path + ": " + access.problem,
                   access.ownerOnly && !rule.empty() ? "add the udev rule below" : access.remedy);

    const std::vector<PortHolder> holders = portHolders(path, view);
    if (holders.empty())
        report.add(CheckLevel::Ok, "no other process has " + path + " open");
    for (const PortHolder& holder : holders)
        report.add(CheckLevel::Warn, holdersText(path, {holder}),
                   "close that program: replies would be shared with it");

    if (isConsolePort(path, view.sysRoot))
        report.add(CheckLevel::Warn, path + " is the system console; the programs never open it by themselves",
                   reader == AdviceFor::Desktop ? "pick the cable's port in the Serial Port list instead"
                                                : "use the cable's port instead; 'zk-h41-cli ports' lists them");
    else
        report.add(CheckLevel::Ok, path + " is not the system console");
}

} // namespace

CheckReport checkConnection(const std::string& port, const SystemView& view, AdviceFor reader)
{
    CheckReport report;
    const std::vector<std::string> ports =
        port.empty() ? enumerateSerialPorts(view.sysRoot, view.devRoot) : std::vector<std::string>{port};
    if (ports.empty())
        report.add(CheckLevel::Fail, "no serial port found",
                   "plug the cable in; a USB adapter shows up as /dev/ttyUSB0 or /dev/ttyACM0");
    for (const std::string& path : ports)
        checkPort(path, view, reader, report);
    checkServices(view, report);
    return report;
}

} // namespace zk
