#include "ApplicationFolder.h"

#include "Errors.h"
#include "FileIo.h"
#include "SideFiles.h"
#include "Version.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace zk {

namespace {

std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// "\\image\\1.bc" -> "1.bc"
std::string leafName(const std::string& literal)
{
    return literal.substr(literal.rfind('\\') + 1);
}

// A folder this user may create files in; root passes for any folder.
bool writableFolder(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_directory(path, ec) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

// Makes each missing folder on the way to path readable by this user
// alone, as the user's data folders should be; folders already there keep
// their mode.
void makeOwnerOnlyFolders(const std::filesystem::path& path)
{
    std::filesystem::path made;
    for (const auto& part : path.lexically_normal()) {
        made /= part;
        if (part.empty() || ::mkdir(made.c_str(), 0700) == 0 || errno == EEXIST)
            continue;
        throw cannotCreateError(made.string(), std::generic_category().message(errno));
    }
}

} // namespace

FolderPlaces folderPlaces()
{
    FolderPlaces places;
    places.programFolder = applicationFolder();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!data.isEmpty())
        places.userDataFolder = withSlash(QFile::encodeName(data).toStdString());
    places.defaultsFolder =
        std::filesystem::path(places.programFolder + kDataFolderFromPrograms + "/image").lexically_normal().string();
    return places;
}

std::string chooseApplicationFolder(const FolderPlaces& places)
{
    // Without a known data folder (no home folder) the program's own is all
    // there is; the login window then says what is missing there.
    if (places.userDataFolder.empty() || writableFolder(sideFilePath(places.programFolder, "\\image")))
        return places.programFolder;
    return places.userDataFolder;
}

std::string describeSideFileFolder(const FolderPlaces& places)
{
    const std::string folder = chooseApplicationFolder(places);
    if (folder == places.programFolder)
        return folder + "image/ (beside the program)";
    return folder + "image/ (your own, made on first start from " + places.defaultsFolder + "/)";
}

void provideSideFiles(const std::string& folder, const std::string& defaultsFolder)
{
    const std::string image = sideFilePath(folder, "\\image");
    makeOwnerOnlyFolders(image);
    std::error_code ec;
    for (const char* literal : {kPasswordFile, kTitleFile, kBackgroundFile}) {
        const std::string target = sideFilePath(folder, literal);
        if (std::filesystem::exists(target, ec))
            continue;
        const std::string source = withSlash(defaultsFolder) + leafName(literal);
        // The password is kept in clear, so only its owner may read it.
        const FileAccess access = literal == kPasswordFile ? FileAccess::OwnerOnly : FileAccess::Keep;
        const FileKind& kind = literal == kBackgroundFile ? kPictureFileKind : kTextSideFileKind;
        replaceFile(target, readRegularFile(source, kind), access);
    }
}

} // namespace zk
