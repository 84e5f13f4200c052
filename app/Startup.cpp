#include "Startup.h"

#include <QCoreApplication>

#include <filesystem>
#include <utility>

namespace {

// Read and Write show their dialogs without making them modal.
void showModeless(QWidget& dialog)
{
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

} // namespace

Startup::Startup(zk::UserMessages& messages, zk::FileDialogs& dialogs, std::function<void()> endProgram,
                 std::string folder, zk::PortSources ports)
    : form1(messages, dialogs, folder)
    , form2(messages, dialogs, nullptr, std::move(ports))
    , form3(messages, folder, &form2)
    , form4(messages, folder, &form2)
    , form5(form2.transferEngine(), messages, &form2)
    , form6(form2.transferEngine(), messages, &form2)
{
    form1.setMainWindow(&form2);
    // Beside the side files: the user's own data folder when installed.
    form2.backupFolder = (std::filesystem::path(folder) / "backups").string();
    form1.onCloseAccepted = std::move(endProgram);
    form4.setMainWindow(&form2);
    form2.onRemark = [this] { form4.exec(); };
    form2.onChangePassword = [this] { form3.exec(); };
    form2.onRead = [this] { showModeless(form5); };
    form2.onWrite = [this] { showModeless(form6); };
    // A read replaces the table; a write sends it, so an edit still open in
    // the main window is committed first.
    form5.aroundTransfer = [this](const std::function<void()>& run) { form2.replaceByRead(run); };
    form6.aroundTransfer = [this](const std::function<void()>& run) {
        if (form2.commitOpenEditor())
            run();
    };
}

void Startup::start()
{
    form1.show();
}

void Startup::endEventLoop()
{
    QCoreApplication::exit(0);
}
