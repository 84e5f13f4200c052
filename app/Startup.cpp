#include "Startup.h"

#include <QCoreApplication>

#include <utility>

Startup::Startup(zk::UserMessages& messages, zk::FileDialogs& dialogs, std::function<void()> endProgram,
                 std::string folder)
    : form1(messages, dialogs, folder)
    , form2(messages, dialogs)
    , form3(messages, folder, &form2)
    , form4(messages, folder, &form2)
{
    form1.setMainWindow(&form2);
    form1.onCloseAccepted = std::move(endProgram);
    form4.setMainWindow(&form2);
    form2.onRemark = [this] { form4.exec(); };
    form2.onChangePassword = [this] { form3.exec(); };
}

void Startup::start()
{
    form1.show();
}

void Startup::endEventLoop()
{
    QCoreApplication::exit(0);
}
