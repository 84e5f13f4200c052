#include "password.h"

#include "Guarded.h"
#include "PasswordCheck.h"
#include "TextBytes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

TForm3::TForm3(zk::UserMessages& messages, std::string folder, QWidget* parent)
    : PlainDialog(321, 186, parent)
    , messages_(messages)
    , folder_(std::move(folder))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Change password"));

    Label1 = new QLabel(QStringLiteral("Old Password:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(24, 28, 100, 24);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setGeometry(132, 28, 164, 24);

    Label2 = new QLabel(QStringLiteral("NEW Password:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(24, 72, 100, 24);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setGeometry(132, 72, 164, 24);

    Button1 = zk::plainButton(QStringLiteral("Modify"), QStringLiteral("Button1"), this);
    Button1->setGeometry(56, 128, 92, 30);
    Button2 = zk::plainButton(QStringLiteral("Cancel"), QStringLiteral("Button2"), this);
    Button2->setGeometry(172, 128, 92, 30);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TForm3::Button1Click()
{
    zk::guarded(messages_, [this] {
        const std::string path = zk::sideFilePath(folder_, zk::kPasswordFile);
        if (!zk::passwordAccepted(zk::toBytes(Edit1->text()), zk::readFirstLine(path))) {
            messages_.notice("Password error!");
            return;
        }
        // Readable by its owner alone: the file holds the password in clear.
        zk::writeSingleLine(path, zk::toBytes(Edit2->text()), true);
        accept();
    });
}

void TForm3::Button2Click()
{
    reject();
}
