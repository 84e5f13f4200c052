#include "main.h"

#include "Backdrop.h"
#include "Guarded.h"
#include "JpegPicture.h"
#include "PasswordCheck.h"
#include "TextBytes.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>

#include <utility>

TForm1::TForm1(zk::UserMessages& messages, zk::FileDialogs& dialogs, std::string folder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , messages_(messages)
    , dialogs_(dialogs)
    , folder_(std::move(folder))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ZK-H41 Program Setting"));
    // The picture fills the client area exactly; the frame around it is the
    // window manager's, so the client size is what is fixed here.
    resize(zk::kPictureWidth, zk::kPictureHeight);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, zk::kPictureWidth, zk::kPictureHeight);
    Image1->setScaledContents(true);
    showPicture(zk::builtInLoginPicture());

    // A QLabel paints no background of its own, so the picture shows through.
    Label1 = new QLabel(QStringLiteral("PassWord:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(384, 392, 80, 24);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setGeometry(472, 392, 148, 24);

    Button1 = new QPushButton(QStringLiteral("Run"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(392, 428, 96, 30);

    Button2 = new QPushButton(QStringLiteral("Change Backgound"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(496, 428, 124, 30);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    Edit1->setFocus();

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Edit1, &QLineEdit::returnPressed, this, [this] { Edit1KeyPress(); });
}

std::string TForm1::sideFile(const char* literal) const
{
    return zk::sideFilePath(folder_, literal);
}

void TForm1::showPicture(const QImage& picture)
{
    Image1->setPixmap(QPixmap::fromImage(picture));
}

void TForm1::FormShow()
{
    zk::guarded(messages_, [this] {
        // A picture that fails to load stops here, before the title is read.
        showPicture(zk::loadPicture(sideFile(zk::kBackgroundFile)));
        setWindowTitle(zk::fromBytes(zk::readFirstLine(sideFile(zk::kTitleFile))));
    });
}

void TForm1::Button1Click()
{
    zk::guarded(messages_, [this] {
        // Read afresh on every press: the file may have changed since.
        const std::string stored = zk::readFirstLine(sideFile(zk::kPasswordFile));
        if (!zk::passwordAccepted(zk::toBytes(Edit1->text()), stored)) {
            Edit1->clear();
            messages_.notice("Password error!");
            return;
        }
        hide();
        if (mainWindow_) {
            mainWindow_->setWindowTitle(windowTitle());
            mainWindow_->show();
        }
    });
}

void TForm1::Edit1KeyPress()
{
    Button1Click();
}

void TForm1::Button2Click()
{
    zk::guarded(messages_, [this] {
        const auto chosen = dialogs_.openFile("Open", "*.jpg");
        if (!chosen)
            return;
        showPicture(zk::loadPicture(*chosen));
        // A failed copy goes unreported: the picture then lasts this run only.
        // The copy goes through a temporary file, so the old file stays whole.
        (void)zk::copyFile(*chosen, sideFile(zk::kBackgroundFile));
    });
}

bool TForm1::FormCloseQuery()
{
    return messages_.confirm("Do you want to close?");
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Restoring from the task bar is a spontaneous show; only the program's
    // own show loads the files.
    if (!event->spontaneous())
        FormShow();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    zk::guarded(messages_, [&] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    event->accept();
    if (onCloseAccepted)
        onCloseAccepted();
}
