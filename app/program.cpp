// zk-h41: the programming tool. Creates the windows in their order, shows
// the login window and runs until the login window is closed with Yes or the
// main window's quit is answered Yes.
#include "CommandLine.h"
#include "MessageBoxes.h"
#include "Startup.h"

#include <QApplication>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The login window hides itself after a correct password, before the
    // main window appears; that must not end the program. Both ways out end
    // the event loop themselves.
    QApplication::setQuitOnLastWindowClosed(false);
    // QApplication has taken its own options out of argv by now.
    std::string error;
    const auto commandLine = zk::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!commandLine) {
        std::cerr << "zk-h41: " << error << "\n" << zk::kUsage << "\n";
        return 2;
    }
    try {
        zk::QtUserMessages messages;
        zk::QtFileDialogs dialogs;
        zk::PortSources ports;
        ports.extraPorts = commandLine->extraPorts;
        Startup startup(messages, dialogs, &Startup::endEventLoop, zk::applicationFolder(), ports);
        if (!commandLine->planFile.empty())
            startup.form2.openWhenShown(commandLine->planFile);
        startup.start();
        return QApplication::exec();
    } catch (const std::exception& e) {
        // Only the start can fail here, e.g. when the program cannot find
        // its own folder; once the loop runs, handlers catch their errors.
        std::cerr << argv[0] << ": " << e.what() << "\n";
        return 1;
    }
}
