// Test entry for widget tests; they run on the offscreen platform.
//
// The offscreen platform's screen is 800 x 600 unless told otherwise, smaller
// than the main window's design size. Tests get a desktop screen of
// 1920 x 1200, or the size in ZK_TEST_SCREEN ("1366x768"), so that the
// window's fitting to its screen is tested on the screens users have.
// The user's configuration folder is a temporary one.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray screenConfig(int width, int height)
{
    return QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1, "height": %2,)"
                          R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
        .arg(width)
        .arg(height)
        .toUtf8();
}

} // namespace

int main(int argc, char** argv)
{
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty())
        platform = "offscreen";
    QTemporaryDir configFolder;
    if (platform == "offscreen" && configFolder.isValid()) {
        int width = 1920;
        int height = 1200;
        const QByteArray asked = qgetenv("ZK_TEST_SCREEN");
        if (!asked.isEmpty()) {
            const QList<QByteArray> parts = asked.split('x');
            if (parts.size() == 2) {
                width = parts[0].toInt();
                height = parts[1].toInt();
            }
        }
        const QString path = configFolder.filePath(QStringLiteral("screen.json"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(screenConfig(width, height)) > 0) {
            file.close();
            platform += ":configfile=" + QFile::encodeName(path);
        }
    }
    qputenv("QT_QPA_PLATFORM", platform);
    // What the program keeps between runs goes to a folder of this run, not
    // to the user's own settings.
    if (configFolder.isValid())
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder.path()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
