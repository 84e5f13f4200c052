// The connection check: one line per finding, ok, warn or fail, each
// problem with a one-line remedy. The command-line tool prints it and the
// main window shows it; both read the system through a SystemView.
#pragma once

#include "AdviceFor.h"
#include "SystemView.h"

#include <string>
#include <vector>

namespace zk {

enum class CheckLevel { Ok, Warn, Fail };

struct CheckLine {
    CheckLevel level = CheckLevel::Ok;
    std::string text;
    std::string remedy; // empty for ok lines
};

struct CheckReport {
    std::vector<CheckLine> lines;
    std::vector<std::string> udevRules; // one per USB adapter checked

    bool failed() const;
    void add(CheckLevel level, std::string text, std::string remedy = {});
    // "ok    text", "warn  text", "fail  text", each remedy indented below it,
    // then the udev rules with how to install them.
    std::string text() const;
};

// Checks the port, or with no port named every port the port list offers
// (failing when there is none), then the services known to take USB serial
// adapters. Remedies name what the reader can reach: the command-line
// tool's commands or the window's menus. udev rules only while udev runs.
CheckReport checkConnection(const std::string& port, const SystemView& view,
                            AdviceFor reader = AdviceFor::CommandLine);

} // namespace zk
