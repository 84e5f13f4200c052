#include "beizhu.h"

#include "Guarded.h"
#include "TextBytes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

TForm4::TForm4(zk::UserMessages& messages, std::string folder, QWidget* parent)
    : PlainDialog(318, 136, parent)
    , messages_(messages)
    , folder_(std::move(folder))
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Remark"));

    Label1 = new QLabel(QStringLiteral("SET Title:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(24, 32, 76, 24);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(104, 32, 190, 24);

    Button1 = zk::plainButton(QStringLiteral("Modify"), QStringLiteral("Button1"), this);
    Button1->setGeometry(56, 84, 92, 30);
    Button2 = zk::plainButton(QStringLiteral("Cancel"), QStringLiteral("Button2"), this);
    Button2->setGeometry(172, 84, 92, 30);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TForm4::Button1Click()
{
    zk::guarded(messages_, [this] {
        // Only a title of length 0 is empty; spaces are a title.
        const QString title = Edit1->text();
        if (title.isEmpty()) {
            messages_.notice("Title Empty!");
            return;
        }
        zk::writeSingleLine(zk::sideFilePath(folder_, zk::kTitleFile), zk::toBytes(title));
        accept();
        if (mainWindow_)
            mainWindow_->setWindowTitle(title);
    });
}

void TForm4::Button2Click()
{
    reject();
}
