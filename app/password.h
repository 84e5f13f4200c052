#pragma once
// The change-password dialog: the old password must match the password
// file's first line before the new one replaces it.
#include "PlainDialog.h"
#include "SideFiles.h"
#include "UserMessages.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm3 : public zk::PlainDialog {
    Q_OBJECT
public:
    TForm3(zk::UserMessages& messages, std::string folder = zk::applicationFolder(), QWidget* parent = nullptr);

    void Button1Click();
    void Button2Click();

private:
    zk::UserMessages& messages_;
    const std::string folder_;

    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QPushButton* Button1;
    QPushButton* Button2;
};
