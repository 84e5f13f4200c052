#pragma once
// The remark dialog: sets the title kept in the title file and shown as the
// main window's caption.
#include "PlainDialog.h"
#include "SideFiles.h"
#include "UserMessages.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm4 : public zk::PlainDialog {
    Q_OBJECT
public:
    TForm4(zk::UserMessages& messages, std::string folder = zk::applicationFolder(), QWidget* parent = nullptr);

    // The window whose caption a stored title replaces.
    void setMainWindow(QWidget* form2) { mainWindow_ = form2; }

    void Button1Click();
    void Button2Click();

private:
    zk::UserMessages& messages_;
    const std::string folder_;
    QWidget* mainWindow_ = nullptr;

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;
};
