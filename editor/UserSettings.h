#pragma once
// What the program keeps between runs in the user's configuration folder
// (~/.config/zk-h41.conf): the plans opened or saved last and the folders the
// file dialogs start in.
#include <QString>
#include <QStringList>

namespace zk::settings {

inline constexpr int kRecentPlans = 8;

// Newest first, at most kRecentPlans.
QStringList recentPlans();
// Puts path first, once.
void rememberPlan(const QString& path);
void forgetPlan(const QString& path);

// What a file dialog is for: each kind starts in the folder where that
// kind of file was chosen last.
enum class FolderKind { Plans, Csv, Pdf, Backups, Pictures };

// The kind of file a dialog's filter (as "*.csv") offers; plans for any other.
FolderKind folderKindOf(const QString& filter);

// Empty until a file dialog of that kind has been used.
QString lastFolder(FolderKind kind = FolderKind::Plans);
void setLastFolder(const QString& folder, FolderKind kind = FolderKind::Plans);

// The list after path is put first; pure, for rememberPlan.
QStringList withRecent(QStringList list, const QString& path);

} // namespace zk::settings
