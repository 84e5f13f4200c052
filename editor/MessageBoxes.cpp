#include "MessageBoxes.h"

#include "UserSettings.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace zk {

namespace {

QString qtext(const std::string& text)
{
    return QString::fromStdString(text);
}

std::optional<std::string> chosenPath(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    // Paths go to the C++ file functions in the system's file name encoding.
    return QFile::encodeName(path).toStdString();
}

} // namespace

void fitTitle(QMessageBox& box)
{
    // A message box sizes itself to its text only, and window managers cut a
    // longer title short. Room for the title, the window's own buttons and
    // an icon keeps it whole.
    const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    const int width = metrics.horizontalAdvance(box.windowTitle()) + kTitleBarAllowance;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

QString applicationTitleText()
{
    return qtext(applicationTitle(QCoreApplication::applicationFilePath().toStdString()));
}

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

void QtUserMessages::notice(const std::string& text)
{
    noticeWithDetail(text, {});
}

void QtUserMessages::noticeWithDetail(const std::string& text, const std::string& detail)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitleText(), qtext(text), QMessageBox::Ok, dialogParent());
    if (!detail.empty())
        box.setDetailedText(qtext(detail));
    fitTitle(box);
    box.exec();
}

bool QtUserMessages::confirm(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), qtext(text),
                    QMessageBox::Yes | QMessageBox::No, dialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    fitTitle(box);
    box.exec();
    // Closing the box by its close box counts as the escape button, No.
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

void QtUserMessages::error(const std::string& text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitleText(), qtext(errorBoxText(text)), QMessageBox::Ok,
                    dialogParent());
    fitTitle(box);
    box.exec();
}

SaveChoice QtUserMessages::askToSave(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, applicationTitleText(), qtext(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, dialogParent());
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    // Alt and the underlined letter answer as a click does.
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("&Cancel"));
    fitTitle(box);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Save))
        return SaveChoice::Save;
    if (clicked == box.button(QMessageBox::Discard))
        return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

std::optional<std::string> QtFileDialogs::run(const char* name, int mode, const std::string& title,
                                               const std::string& filter)
{
    const settings::FolderKind kind = settings::folderKindOf(qtext(filter));
    QString folder = QFile::decodeName(nextFolder_.c_str());
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = settings::lastFolder(kind);
    // A folder removed since is no place to start.
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        folder.clear();
    const QString proposed = QFile::decodeName(nextName_.c_str());
    nextFolder_.clear();
    nextName_.clear();
    QFileDialog dialog(dialogParent(), qtext(title), folder, qtext(filter));
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setAcceptMode(static_cast<QFileDialog::AcceptMode>(mode));
    // Any name will do, also one that does not exist; no default suffix,
    // the caller completes the name itself. The save mode keeps the
    // toolkit's question before an existing file is replaced.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    settings::setLastFolder(QFileInfo(chosen).absolutePath(), kind);
    return chosenPath(chosen);
}

std::optional<std::string> QtFileDialogs::openFile(const std::string& title, const std::string& filter)
{
    return run("OpenDialog1", QFileDialog::AcceptOpen, title, filter);
}

std::optional<std::string> QtFileDialogs::saveFile(const std::string& title, const std::string& filter)
{
    return run("SaveDialog1", QFileDialog::AcceptSave, title, filter);
}

void QtFileDialogs::startNextIn(const std::string& folder, const std::string& name)
{
    nextFolder_ = folder;
    nextName_ = name;
}

} // namespace zk
