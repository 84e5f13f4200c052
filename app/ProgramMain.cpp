// zk-h41: the programming tool. Creates the windows in their order, shows
// the login window and runs until the login window is closed with Yes or the
// main window's quit is answered Yes.
#include "ApplicationFolder.h"
#include "CommandLine.h"
#include "Errors.h"
#include "MessageBoxes.h"
#include "SerialTrace.h"
#include "Startup.h"
#include "UdevPortEvents.h"
#include "Version.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// --help and --version: the answer and the exit status, or nothing to run
// the program.
std::optional<int> answerRequest(const zk::CommandLine& line)
{
    if (line.help)
        std::cout << zk::helpText(zk::describeSideFileFolder(zk::folderPlaces()));
    else if (line.version)
        std::cout << zk::versionText();
    else
        return std::nullopt;
    return 0;
}

// The installed icon's sizes, built into the program.
QIcon programIcon()
{
    QIcon icon;
    for (const QString& name : QDir(QStringLiteral(":/icons")).entryList())
        icon.addFile(QStringLiteral(":/icons/") + name);
    return icon;
}

int run(int argc, char** argv)
{
    // Names the user's data folder (~/.local/share/zk-h41); no organisation
    // folder above it.
    QCoreApplication::setApplicationName(QStringLiteral("zk-h41"));

    // --help and --version need no display, so they are answered before the
    // toolkit starts. Arguments meant for the toolkit make this first look
    // fail; they are judged again once the toolkit has taken its own.
    std::string error;
    if (const auto early = zk::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error))
        if (const auto status = answerRequest(*early))
            return *status;

    QApplication app(argc, argv);
    // The login window hides itself after a correct password, before the
    // main window appears; that must not end the program. Both ways out end
    // the event loop themselves.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QString::fromLatin1(zk::kAppId));
    // QApplication has taken its own options out of argv by now.
    const auto commandLine = zk::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!commandLine) {
        std::cerr << "zk-h41: " << error << "\n" << zk::kUsage << "\n";
        return 2;
    }
    if (const auto status = answerRequest(*commandLine))
        return *status;

    const zk::FolderPlaces places = zk::folderPlaces();
    const std::string folder = zk::chooseApplicationFolder(places);
    if (folder != places.programFolder) {
        try {
            zk::provideSideFiles(folder, places.defaultsFolder);
        } catch (const zk::AppError& e) {
            // The login window then reports each missing file as it would
            // beside the program.
            std::cerr << "zk-h41: " << e.what() << "\n";
        }
    }
    zk::QtUserMessages messages;
    zk::QtFileDialogs dialogs;
    zk::PortSources ports;
    ports.extraPorts = commandLine->extraPorts;
    std::unique_ptr<SerialTrace> trace;
    if (!commandLine->traceFile.empty()) {
        trace = std::make_unique<SerialTrace>(commandLine->traceFile);
        if (!trace->ok()) {
            std::cerr << "zk-h41: cannot create " << commandLine->traceFile << ": " << trace->failure() << "\n";
            return 1;
        }
        ports.tap = trace.get();
    }
    const std::unique_ptr<zk::PortEventSource> portEvents = zk::createUdevPortEvents();
    ports.events = portEvents.get();
    Startup startup(messages, dialogs, &Startup::endEventLoop, folder, ports);
    if (!commandLine->planFile.empty())
        startup.form2.openWhenShown(commandLine->planFile);
    startup.start();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        // Only the start can fail here, e.g. when the program cannot find
        // its own folder; once the loop runs, handlers catch their errors.
        std::cerr << argv[0] << ": " << e.what() << "\n";
        return 1;
    }
}
