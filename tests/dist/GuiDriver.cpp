// Loaded into the installed zk-h41 with LD_PRELOAD by the package test, so
// the program under test is the installed file itself. Once the toolkit is
// up it does what a user does: types the password into the login window,
// waits for the main window, changes the password from the Help menu, quits
// and answers Yes. Any other message box, or a step that never comes, ends
// the program with status 3 and the reason on standard error.
//
// It also keeps the machine's own serial devices shut: the main window
// opens the first port it finds, and a test must never open one.
//
//   ZK_DRIVER_PASSWORD      the password to log in with
//   ZK_DRIVER_NEW_PASSWORD  the password to change it to
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>

namespace {

// ---- the fence around serial devices ------------------------------------

bool serialDevice(const char* path)
{
    for (const char* prefix : {"/dev/tty", "/dev/rfcomm", "/dev/serial/"})
        if (path && std::strncmp(path, prefix, std::strlen(prefix)) == 0)
            return true;
    return false;
}

// The program opens its serial port with open() (open64() where large
// file offsets are the default); both are taken over here.
int fencedOpen(const char* symbol, const char* path, int flags, va_list args)
{
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(args, int)) : 0;
    if (serialDevice(path)) {
        std::fprintf(stderr, "gui driver: kept %s closed\n", path);
        errno = EACCES;
        return -1;
    }
    using Open = int (*)(const char*, int, ...);
    return reinterpret_cast<Open>(::dlsym(RTLD_NEXT, symbol))(path, flags, mode);
}

} // namespace

extern "C" int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int fd = fencedOpen("open", path, flags, args);
    va_end(args);
    return fd;
}

extern "C" int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int fd = fencedOpen("open64", path, flags, args);
    va_end(args);
    return fd;
}

namespace {

// ---- the user's steps ----------------------------------------------------

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "gui driver: FAILED: %s\n", qPrintable(why));
    std::fflush(nullptr);
    std::_Exit(3);
}

void say(const QString& what)
{
    std::printf("gui driver: %s\n", qPrintable(what));
    std::fflush(stdout);
}

QWidget* shownWindow(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

template <typename T>
T* child(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        fail(QStringLiteral("%1 has no %2").arg(window->objectName(), QLatin1String(name)));
    return found;
}

QString setting(const char* name)
{
    const QByteArray value = qgetenv(name);
    if (value.isEmpty())
        fail(QStringLiteral("%1 is not set").arg(QLatin1String(name)));
    return QString::fromUtf8(value);
}

// A key or click that may open a modal dialog or box, which runs its own
// event loop until answered. Done from the next turn of the loop rather
// than inside the driver's timer, that timer goes on firing in there and
// can answer, or report, what was opened.
template <typename Fn>
void later(QObject* context, Fn action)
{
    QTimer::singleShot(0, context, action);
}

void triggerLater(QWidget* window, const char* actionName)
{
    QAction* action = window->findChild<QAction*>(QLatin1String(actionName));
    if (!action)
        fail(QStringLiteral("no menu command %1").arg(QLatin1String(actionName)));
    later(action, [action] { action->trigger(); });
}

class Driver : public QObject {
public:
    Driver()
        : password_(setting("ZK_DRIVER_PASSWORD"))
        , newPassword_(setting("ZK_DRIVER_NEW_PASSWORD"))
    {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] { poll(); });
        timer->start(20);
    }

private:
    enum class Step { Login, MainWindow, PasswordDialog, DialogClosed, ConfirmQuit, Done };

    void poll()
    {
        // A bound for a step that never comes, far above what any takes.
        if (deadline_.hasExpired())
            fail(QStringLiteral("step %1 did not happen").arg(static_cast<int>(step_)));
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && step_ != Step::ConfirmQuit)
            fail(QStringLiteral("message box: %1").arg(box->text()));

        switch (step_) {
        case Step::Login:
            if (QWidget* login = shownWindow("Form1")) {
                if (QApplication::windowIcon().availableSizes().isEmpty())
                    fail(QStringLiteral("the program has no window icon"));
                say(QStringLiteral("login window: %1").arg(login->windowTitle()));
                auto* field = child<QLineEdit>(login, "Edit1");
                QTest::keyClicks(field, password_);
                later(field, [field] { QTest::keyClick(field, Qt::Key_Return); });
                step_ = Step::MainWindow;
            }
            break;
        case Step::MainWindow:
            if (QWidget* main = shownWindow("TForm2")) {
                // The caption as shown: "[*]" only marks where the unsaved-changes
                // sign goes.
                QString caption = main->windowTitle();
                caption.remove(QStringLiteral("[*]"));
                say(QStringLiteral("main window: %1").arg(caption));
                triggerLater(main, "N14"); // Help > Change PassWord
                step_ = Step::PasswordDialog;
            }
            break;
        case Step::PasswordDialog:
            if (QWidget* dialog = QApplication::activeModalWidget(); dialog && dialog->objectName() == "Form3") {
                QTest::keyClicks(child<QLineEdit>(dialog, "Edit1"), password_);
                QTest::keyClicks(child<QLineEdit>(dialog, "Edit2"), newPassword_);
                auto* modify = child<QPushButton>(dialog, "Button1");
                later(modify, [modify] { QTest::mouseClick(modify, Qt::LeftButton); });
                step_ = Step::DialogClosed;
            }
            break;
        case Step::DialogClosed:
            if (!shownWindow("Form3")) {
                QWidget* main = shownWindow("TForm2");
                if (!main)
                    fail(QStringLiteral("the main window is gone"));
                say(QStringLiteral("password changed"));
                triggerLater(main, "N4"); // File > Quit
                step_ = Step::ConfirmQuit;
            }
            break;
        case Step::ConfirmQuit:
            if (box) {
                if (box->text() != QLatin1String("Do you want to close?"))
                    fail(QStringLiteral("message box: %1").arg(box->text()));
                say(QStringLiteral("quit"));
                step_ = Step::Done;
                QAbstractButton* yes = box->button(QMessageBox::Yes);
                later(yes, [yes] { QTest::mouseClick(yes, Qt::LeftButton); });
            }
            break;
        case Step::Done:
            break;
        }
    }

    const QString password_;
    const QString newPassword_;
    Step step_ = Step::Login;
    QDeadlineTimer deadline_{60 * 1000};
};

// Runs inside the application object's constructor, before the program
// creates its windows; the driver's timer fires once the event loop runs.
void startDriver()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        new Driver;
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)
