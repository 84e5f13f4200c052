#include "UserSettings.h"

#include <QSettings>

namespace zk::settings {

namespace {

const QString kRecentKey = QStringLiteral("files/recent");

// The plans' key is the one every kind shared before.
QString folderKey(FolderKind kind)
{
    switch (kind) {
    case FolderKind::Csv:
        return QStringLiteral("files/lastCsvFolder");
    case FolderKind::Pdf:
        return QStringLiteral("files/lastPdfFolder");
    case FolderKind::Backups:
        return QStringLiteral("files/lastBackupFolder");
    case FolderKind::Pictures:
        return QStringLiteral("files/lastPictureFolder");
    case FolderKind::Plans:
        break;
    }
    return QStringLiteral("files/lastFolder");
}

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

FolderKind folderKindOf(const QString& filter)
{
    if (filter.contains(QStringLiteral("*.csv"), Qt::CaseInsensitive))
        return FolderKind::Csv;
    if (filter.contains(QStringLiteral("*.pdf"), Qt::CaseInsensitive))
        return FolderKind::Pdf;
    if (filter.contains(QStringLiteral("*.img"), Qt::CaseInsensitive))
        return FolderKind::Backups;
    if (filter.contains(QStringLiteral("*.jpg"), Qt::CaseInsensitive))
        return FolderKind::Pictures;
    return FolderKind::Plans;
}

QString lastFolder(FolderKind kind)
{
    return store().value(folderKey(kind)).toString();
}

void setLastFolder(const QString& folder, FolderKind kind)
{
    store().setValue(folderKey(kind), folder);
}

} // namespace zk::settings
