#include "SaveTarget.h"

#include "UserMessages.h"

#include <QString>

#include <filesystem>

namespace zk {

std::string withExtension(const std::string& chosen, const char* extension)
{
    const QString name = QString::fromStdString(chosen);
    return name.endsWith(QLatin1String(extension), Qt::CaseInsensitive) ? chosen : chosen + extension;
}

bool mayReplaceCompleted(UserMessages& messages, const std::string& chosen, const std::string& path)
{
    // The dialog asked about the name it returned; the completed name is
    // another file, so ask about that one too before replacing it.
    if (path == chosen || !std::filesystem::exists(path))
        return true;
    const std::string name = std::filesystem::path(path).filename().string();
    return messages.confirm(name + " already exists. Do you want to replace it?");
}

} // namespace zk
