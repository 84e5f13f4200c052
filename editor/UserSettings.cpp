#include "UserSettings.h"

#include <QSettings>

namespace zk::settings {

namespace {

const QString kRecentKey = QStringLiteral("files/recent");
const QString kFolderKey = QStringLiteral("files/lastFolder");

// The program's own file, named after it, no vendor folder.
QSettings store()
{
    return QSettings(QStringLiteral("zk-h41"));
}

} // namespace

QStringList withRecent(QStringList list, const QString& path)
{
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > kRecentPlans)
        list.removeLast();
    return list;
}

QStringList recentPlans()
{
    return store().value(kRecentKey).toStringList().mid(0, kRecentPlans);
}

void rememberPlan(const QString& path)
{
    store().setValue(kRecentKey, withRecent(recentPlans(), path));
}

void forgetPlan(const QString& path)
{
    QStringList list = recentPlans();
    list.removeAll(path);
    store().setValue(kRecentKey, list);
}

QString lastFolder()
{
    return store().value(kFolderKey).toString();
}

void setLastFolder(const QString& folder)
{
    store().setValue(kFolderKey, folder);
}

} // namespace zk::settings
