// Renders the login window, as it starts with the files beside this
// program, to a PNG picture for the documentation.
//
//   zk-h41-render-login OUTPUT.png
#include "main.h"

#include <QApplication>
#include <QPixmap>

#include <iostream>
#include <optional>

namespace {

// Any message would mean the picture shows a broken start: report and fail.
class FailingMessages : public zk::UserMessages {
public:
    void notice(const std::string& text) override { fail(text); }
    bool confirm(const std::string& text) override
    {
        fail(text);
        return false;
    }
    void error(const std::string& text) override { fail(zk::errorBoxText(text)); }
    zk::SaveChoice askToSave(const std::string& text) override
    {
        fail(text);
        return zk::SaveChoice::Cancel;
    }
    bool failed = false;

private:
    void fail(const std::string& text)
    {
        std::cerr << "zk-h41-render-login: " << text << "\n";
        failed = true;
    }
};

class NoDialogs : public zk::FileDialogs {
public:
    std::optional<std::string> openFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const std::string&, const std::string&) override { return std::nullopt; }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " OUTPUT.png\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FailingMessages messages;
    NoDialogs dialogs;
    TForm1 form1(messages, dialogs);
    form1.show();
    QApplication::processEvents();
    if (messages.failed)
        return 1;
    if (!form1.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::cerr << argv[0] << ": cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
