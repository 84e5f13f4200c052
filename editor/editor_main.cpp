// The program: the channel editor on its own until the login window arrives.
#include "MessageBoxes.h"
#include "f2.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zk::QtUserMessages messages;
    zk::QtFileDialogs dialogs;
    TForm2 form2(messages, dialogs);
    form2.show();
    return app.exec();
}
