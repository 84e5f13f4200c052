// Renders the main window with a small sample channel plan into a PNG file,
// for the README: zk-h41-render <output.png>; QT_SCALE_FACTOR=1.5 shows it
// as on a screen scaled to 150 %.
#include "f2.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>
#include <string>

namespace {

// Nothing is asked or shown while rendering.
class SilentMessages : public zk::UserMessages {
public:
    void notice(const std::string&) override {}
    bool confirm(const std::string&) override { return false; }
    void error(const std::string& text) override { std::fprintf(stderr, "%s\n", zk::errorBoxText(text).c_str()); }
    zk::SaveChoice askToSave(const std::string&) override { return zk::SaveChoice::Cancel; }
};

class NoDialogs : public zk::FileDialogs {
public:
    std::optional<std::string> openFile(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const std::string&, const std::string&) override { return std::nullopt; }
};

void loadSamplePlan(zk::ChannelTable& table)
{
    struct Channel {
        const char* rx;
        const char* tx;
        const char* decode;
        const char* encode;
        const char* power;
        const char* bandwidth;
    };
    const Channel plan[] = {
        {"145.50000", "145.50000", "0FF", "0FF", "High", "Wide"},
        {"146.01250", "146.61250", "88.5HZ", "88.5HZ", "High", "Wide"},
        {"147.30000", "147.90000", "D023N", "D023N", "Low", "Narrow"},
        {"151.62500", "151.62500", "OFF", "67.0HZ", "High", "Narrow"},
        {"162.55000", "", "0FF", "0FF", "Low", "Wide"},
    };
    int row = 1;
    for (const Channel& channel : plan) {
        const char* cells[] = {channel.rx, channel.tx, channel.decode, channel.encode, channel.power,
                               channel.bandwidth};
        for (int c = 0; c < 6; ++c)
            table.setCell(c + 1, row, cells[c]);
        ++row;
    }
    table.setSetting(0, 2); // English
    table.setSetting(1, 4); // 60 s
    table.setSetting(2, 3);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.png>\n", argv[0]);
        return 2;
    }
    // A screen large enough for the window's design size at any scale the
    // picture is taken at (QT_SCALE_FACTOR).
    QTemporaryDir folder;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && folder.isValid()) {
        QFile config(folder.filePath(QStringLiteral("screen.json")));
        if (config.open(QIODevice::WriteOnly)
            && config.write(R"({"screens": [{"name": "render", "x": 0, "y": 0, "width": 3840, "height": 2400,)"
                            R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                   > 0) {
            config.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
        }
    }
    QApplication app(argc, argv);
    SilentMessages messages;
    NoDialogs dialogs;
    // No real device is opened for a picture; the status shows "No Port!".
    TForm2 form2(messages, dialogs, nullptr, zk::PortSources{"/nonexistent", "/nonexistent", {}});
    form2.setWindowTitle(QStringLiteral("ZK-H41"));
    loadSamplePlan(form2.table());
    form2.show();
    QApplication::processEvents();
    if (!form2.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
