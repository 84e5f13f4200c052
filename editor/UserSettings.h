#pragma once
// What the program keeps between runs in the user's configuration folder
// (~/.config/zk-h41.conf): the plans opened or saved last and the folder the
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

// Empty until a file dialog has been used.
QString lastFolder();
void setLastFolder(const QString& folder);

// The list after path is put first; pure, for rememberPlan.
QStringList withRecent(QStringList list, const QString& path);

} // namespace zk::settings
