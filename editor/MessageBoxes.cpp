#include "MessageBoxes.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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
    QMessageBox box(QMessageBox::NoIcon, applicationTitleText(), qtext(text), QMessageBox::Ok, dialogParent());
    box.exec();
}

bool QtUserMessages::confirm(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), qtext(text),
                    QMessageBox::Yes | QMessageBox::No, dialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    // Closing the box by its close box counts as the escape button, No.
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

void QtUserMessages::error(const std::string& text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitleText(), qtext(errorBoxText(text)), QMessageBox::Ok,
                    dialogParent());
    box.exec();
}

namespace {

std::optional<std::string> runFileDialog(const char* name, QFileDialog::AcceptMode mode, const std::string& title,
                                         const std::string& filter)
{
    QFileDialog dialog(dialogParent(), qtext(title), QString(), qtext(filter));
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setAcceptMode(mode);
    // Any name will do, also one that does not exist; no default suffix,
    // the caller completes the name itself. The save mode keeps the
    // toolkit's question before an existing file is replaced.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return chosenPath(dialog.selectedFiles().constFirst());
}

} // namespace

std::optional<std::string> QtFileDialogs::openFile(const std::string& title, const std::string& filter)
{
    return runFileDialog("OpenDialog1", QFileDialog::AcceptOpen, title, filter);
}

std::optional<std::string> QtFileDialogs::saveFile(const std::string& title, const std::string& filter)
{
    return runFileDialog("SaveDialog1", QFileDialog::AcceptSave, title, filter);
}

} // namespace zk
