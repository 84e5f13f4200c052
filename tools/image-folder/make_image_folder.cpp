// Build-time tool: makes the image/ folder the program expects beside
// itself, with the default password, the default title and a background
// picture drawn in code.
//
//   zk-h41-make-image-folder FOLDER [--keep-existing]
//
// --keep-existing leaves files that are already there alone, so rebuilding
// never undoes a password, title or picture changed from the program.
#include "Backdrop.h"
#include "JpegWriter.h"
#include "SideFiles.h"

#include <QGuiApplication>

#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>

namespace {

constexpr const char* kDefaultPassword = "123456";
constexpr const char* kDefaultTitle = "ZK-H41 Program Setting";

} // namespace

int main(int argc, char** argv)
{
    const bool keepExisting = argc == 3 && std::strcmp(argv[2], "--keep-existing") == 0;
    if (argc != 2 && !keepExisting) {
        std::cerr << "usage: " << argv[0] << " FOLDER [--keep-existing]\n";
        return 2;
    }
    // Fonts for the picture's text need a GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        const std::string folder = std::string(argv[1]) + "/";
        std::filesystem::create_directories(zk::sideFilePath(folder, "\\image"));
        const auto wanted = [&](const char* literal) {
            return !keepExisting || !std::filesystem::exists(zk::sideFilePath(folder, literal));
        };
        if (wanted(zk::kPasswordFile))
            zk::writeSingleLine(zk::sideFilePath(folder, zk::kPasswordFile), kDefaultPassword, true);
        if (wanted(zk::kTitleFile))
            zk::writeSingleLine(zk::sideFilePath(folder, zk::kTitleFile), kDefaultTitle);
        if (wanted(zk::kBackgroundFile))
            zk::saveJpeg(zk::defaultBackgroundPicture(), zk::sideFilePath(folder, zk::kBackgroundFile), 92);
    } catch (const std::exception& e) {
        std::cerr << argv[0] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
