#pragma once
// The login window: background picture, title as caption, password field.
// A correct password hides it for good and shows the main window.
#include "SideFiles.h"
#include "UserMessages.h"

#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // folder is the application folder holding image/1.bc, 2.bc and 1.jpg.
    TForm1(zk::UserMessages& messages, zk::FileDialogs& dialogs, std::string folder = zk::applicationFolder(),
           QWidget* parent = nullptr);

    // The window that a correct password shows, captioned with the title.
    void setMainWindow(QWidget* form2) { mainWindow_ = form2; }
    // Runs when the user has agreed to close this window: the program ends.
    std::function<void()> onCloseAccepted;

    void FormShow();
    void Button1Click();
    void Edit1KeyPress();
    void Button2Click();
    bool FormCloseQuery();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showPicture(const QImage& picture);
    std::string sideFile(const char* literal) const;

    zk::UserMessages& messages_;
    zk::FileDialogs& dialogs_;
    const std::string folder_;
    QWidget* mainWindow_ = nullptr;

    QLabel* Image1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;
};
