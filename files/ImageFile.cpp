#include "ImageFile.h"

#include "Errors.h"
#include "VisibleText.h"

#include <ctime>
#include <filesystem>
#include <system_error>

namespace zk {

RadioImage readImageFile(const std::string& path)
{
    const std::string bytes = readRegularFile(path, kImageFileKind);
    if (bytes.size() != kImageSize)
        throw AppError(visibleText(fullPath(path)) + " is not a radio image: it holds " +
                       std::to_string(bytes.size()) + " bytes, an image holds " + std::to_string(kImageSize) + ".");
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(bytes[i]);
    return image;
}

void saveImageFile(const std::string& path, const RadioImage& image)
{
    replaceFile(path, std::string(image.begin(), image.end()));
}

std::string newBackupPath(const std::string& folder, std::chrono::system_clock::time_point when)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        throw cannotCreateError(fullPath(folder), ec.message());
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
    const std::filesystem::path base = std::filesystem::path(folder) / (std::string("radio-") + stamp);
    std::string path = base.string() + ".img";
    for (int n = 2; std::filesystem::exists(path, ec) || std::filesystem::is_symlink(path, ec); ++n)
        path = base.string() + "-" + std::to_string(n) + ".img";
    return path;
}

} // namespace zk
