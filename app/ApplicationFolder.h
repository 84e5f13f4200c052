#pragma once
// Where the side files (password, title, login picture) live for this user.
//
// The image/ folder beside the program is used when it exists and this user
// may write it: a build tree, or a copy unpacked into the user's own folder.
// A system-wide installation has no such folder (and could not be shared by
// several users), so each user gets a data folder of their own, filled on
// first start from the defaults installed with the program.
#include <string>

namespace zk {

struct FolderPlaces {
    std::string programFolder;  // the running program's folder, ending in '/'
    std::string userDataFolder; // the user's data folder for this program, ending in '/'; empty if unknown
    std::string defaultsFolder; // the installed default image/ folder
};

// The real places: the program's own folder, QStandardPaths'
// AppDataLocation (~/.local/share/zk-h41/ by default) and the defaults
// installed beside the programs' share folder.
FolderPlaces folderPlaces();

// The application folder to use, ending in '/'. Decides only; creates nothing.
std::string chooseApplicationFolder(const FolderPlaces& places);

// For --help: the image/ folder in use and why.
std::string describeSideFileFolder(const FolderPlaces& places);

// Makes folder's image/ subfolder and copies each default side file that is
// missing there from the defaults folder; files already there are kept, so
// a changed password or picture survives every start. The password file is
// readable by its owner alone. Throws AppError naming the file that could
// not be read or written.
void provideSideFiles(const std::string& folder, const std::string& defaultsFolder);

} // namespace zk
