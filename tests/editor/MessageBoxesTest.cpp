// The real message boxes and file dialogs, driven while they are up.
#include "ClipboardRules.h"
#include "MessageBoxes.h"
#include "UserSettings.h"

#include "EditorHarness.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>

namespace zk::test {
namespace {

// Names a file in an open dialog and accepts it, as typing the name and
// Enter would. The dialog leaves its name box alone while that box has the
// focus, which it may or may not have got yet: take the focus away first.
void chooseFile(QFileDialog* dialog, const QString& file)
{
    if (QWidget* focused = dialog->focusWidget())
        focused->clearFocus();
    dialog->selectFile(file);
    QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
}

// Runs inspect on the next modal widget once it is up, from inside its own
// event loop. Closes it after a generous bound if it never appears right.
class WhileModal {
public:
    explicit WhileModal(std::function<void(QWidget*)> inspect, QWidget* ignore = nullptr)
        : inspect_(std::move(inspect))
        , ignore_(ignore)
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        deadline_ = QDeadlineTimer(20000);
        timer_.start();
    }
    bool ran() const { return ran_; }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != ignore_ && modal->isVisible()) {
            timer_.stop();
            ran_ = true;
            inspect_(modal);
        } else if (deadline_.hasExpired()) {
            timer_.stop();
            if (modal)
                modal->close();
        }
    }

    std::function<void(QWidget*)> inspect_;
    QWidget* ignore_;
    QTimer timer_;
    QDeadlineTimer deadline_;
    bool ran_ = false;
};

TEST(QtUserMessages, NoticeHasOkOnlyNoIconAndTheApplicationTitle)
{
    QtUserMessages boxes;
    WhileModal check([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "test_editor");
        EXPECT_EQ(box->windowTitle(), applicationTitleText());
        EXPECT_EQ(box->text(), "Save success!");
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_NE(box->button(QMessageBox::Ok), nullptr);
        QTest::keyClick(box, Qt::Key_Return);
    });
    boxes.notice("Save success!");
    EXPECT_TRUE(check.ran());
}

TEST(QtUserMessages, ConfirmationYesOnEnter)
{
    QtUserMessages boxes;
    WhileModal check([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Confirm");
        EXPECT_EQ(box->text(), "Do you want to close?");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->buttons().size(), 2);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_TRUE(boxes.confirm("Do you want to close?"));
    EXPECT_TRUE(check.ran());
}

TEST(QtUserMessages, ConfirmationNoOnEscapeOrWhenClosed)
{
    QtUserMessages boxes;
    {
        WhileModal check([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        EXPECT_FALSE(boxes.confirm("Do you want to New?"));
        EXPECT_TRUE(check.ran());
    }
    {
        WhileModal check([](QWidget* w) { w->close(); });
        EXPECT_FALSE(boxes.confirm("Do you want to New?"));
        EXPECT_TRUE(check.ran());
    }
    {
        WhileModal check([](QWidget* w) {
            QTest::mouseClick(qobject_cast<QMessageBox*>(w)->button(QMessageBox::No), Qt::LeftButton);
        });
        EXPECT_FALSE(boxes.confirm("Do you want to New?"));
        EXPECT_TRUE(check.ran());
    }
}

TEST(QtUserMessages, ErrorBoxHasTheStopIconAndAFullStop)
{
    QtUserMessages boxes;
    WhileModal check([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "test_editor");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->text(), "'' is not a valid floating point value.");
        EXPECT_EQ(box->buttons().size(), 1);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    boxes.error("'' is not a valid floating point value");
    EXPECT_TRUE(check.ran());
}

TEST(QtUserMessages, SaveDiscardCancelWideEnoughForItsTitle)
{
    QtUserMessages boxes;
    const SaveChoice answers[] = {SaveChoice::Save, SaveChoice::Discard, SaveChoice::Cancel};
    const QMessageBox::StandardButton buttons[] = {QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel};
    for (int i = 0; i < 3; ++i) {
        WhileModal check([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), applicationTitleText());
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->buttons().size(), 3);
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Save));
            // The title bar has room for the whole title beside its buttons.
            const QFontMetrics title(QFontDatabase::systemFont(QFontDatabase::TitleFont));
            EXPECT_GE(box->width(), title.horizontalAdvance(box->windowTitle()) + kTitleBarAllowance);
            QTest::mouseClick(box->button(buttons[i]), Qt::LeftButton);
        });
        EXPECT_EQ(boxes.askToSave("Unsaved changes?"), answers[i]);
        EXPECT_TRUE(check.ran());
    }
    WhileModal escape([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(boxes.askToSave("Unsaved changes?"), SaveChoice::Cancel);
}

TEST(QtUserMessages, SaveDiscardCancelAnswerToTheirAltLetters)
{
    QtUserMessages boxes;
    const std::pair<Qt::Key, SaveChoice> letters[] = {
        {Qt::Key_D, SaveChoice::Discard}, {Qt::Key_C, SaveChoice::Cancel}, {Qt::Key_S, SaveChoice::Save}};
    for (const auto& [letter, answer] : letters) {
        WhileModal check([&, key = letter](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->button(QMessageBox::Discard)->text(), "&Discard");
            box->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(box));
            QTest::keyClick(box, key, Qt::AltModifier);
            // The button answers after its short press animation.
            const bool answered = waitUntil([&] { return !box->isVisible(); });
            EXPECT_TRUE(answered) << key;
            if (!answered)
                box->reject();
        });
        EXPECT_EQ(boxes.askToSave("Unsaved changes?"), answer) << letter;
        EXPECT_TRUE(check.ran());
    }
}

TEST(QtUserMessages, ARefusalOfEveryCellFitsTheScreenWithItsOkButtonOnIt)
{
    std::vector<clip::Refusal> refused;
    for (int r = 1; r <= 16; ++r)
        for (int c = 1; c <= 6; ++c)
            refused.push_back({c, r, std::string(clip::kLongestPastedCell, '9'), "the channel has no frequency"});
    QtUserMessages boxes;
    WhileModal check([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        const QRect screen = box->screen()->availableGeometry();
        EXPECT_LE(box->frameGeometry().height(), screen.height());
        EXPECT_LE(box->frameGeometry().width(), screen.width());
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        EXPECT_TRUE(screen.contains(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size())));
        QTest::keyClick(box, Qt::Key_Return);
    });
    boxes.notice(clip::refusalMessage(refused));
    EXPECT_TRUE(check.ran());
}

TEST(QtFileDialogs, SaveDialogTitleFilterAndOverwritePrompt)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath("old.bc");
    std::ofstream(existing.toStdString()) << "x";
    const QString fresh = dir.filePath("new");

    QtFileDialogs dialogs;
    bool overwriteAsked = false;
    std::unique_ptr<WhileModal> prompt;
    WhileModal check([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), "SaveDialog1");
        EXPECT_EQ(dialog->windowTitle(), "Save");
        EXPECT_EQ(dialog->nameFilters(), QStringList{"*.bc"});
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_TRUE(dialog->defaultSuffix().isEmpty());
        // An existing name brings the toolkit's question; No keeps the dialog.
        prompt = std::make_unique<WhileModal>(
            [&](QWidget* question) {
                overwriteAsked = qobject_cast<QMessageBox*>(question) != nullptr;
                QTest::keyClick(question, Qt::Key_Escape);
            },
            dialog);
        chooseFile(dialog, existing);
        EXPECT_TRUE(dialog->isVisible());
        chooseFile(dialog, fresh);
    });
    const auto chosen = dialogs.saveFile("Save", "*.bc");
    EXPECT_TRUE(check.ran());
    EXPECT_TRUE(overwriteAsked);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, fresh.toStdString()) << "no extension is added by the dialog";
}

TEST(QtFileDialogs, OpenDialogAcceptsANameThatDoesNotExist)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.bc");
    QtFileDialogs dialogs;
    WhileModal check([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), "OpenDialog1");
        EXPECT_EQ(dialog->windowTitle(), "Open");
        EXPECT_EQ(dialog->nameFilters(), QStringList{"*.bc"});
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        chooseFile(dialog, missing);
    });
    const auto chosen = dialogs.openFile("Open", "*.bc");
    EXPECT_TRUE(check.ran());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, missing.toStdString());
}

TEST(QtFileDialogs, CancelGivesNothing)
{
    QtFileDialogs dialogs;
    WhileModal check([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_FALSE(dialogs.openFile("Open", "*.bc").has_value());
    EXPECT_TRUE(check.ran());
}

TEST(QtFileDialogs, StartInTheFolderUsedLast)
{
    QTemporaryDir first;
    QTemporaryDir second;
    settings::setLastFolder(first.path());
    QtFileDialogs dialogs;
    WhileModal check([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->directory().absolutePath(), QDir(first.path()).absolutePath());
        chooseFile(dialog, second.filePath("plan.bc"));
    });
    ASSERT_TRUE(dialogs.openFile("Open", "*.bc").has_value());
    EXPECT_TRUE(check.ran());
    EXPECT_EQ(settings::lastFolder(), second.path());
}

TEST(QtFileDialogs, EachKindOfFileStartsInItsOwnLastFolder)
{
    QTemporaryDir plans;
    QTemporaryDir backups;
    settings::setLastFolder(plans.path());
    QtFileDialogs dialogs;
    // Runs the dialog, choosing file; gives the folder it started in.
    auto startedIn = [&](auto run, const QString& file) {
        QString folder;
        WhileModal check([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            folder = dialog->directory().absolutePath();
            chooseFile(dialog, file);
        });
        EXPECT_TRUE(run().has_value());
        return folder;
    };
    const QString plansFolder = QDir(plans.path()).absolutePath();
    const QString backupsFolder = QDir(backups.path()).absolutePath();
    startedIn([&] { return dialogs.saveFile("Backup Radio", "*.img"); }, backups.filePath("radio.img"));
    EXPECT_EQ(startedIn([&] { return dialogs.openFile("Open", "*.bc"); }, plans.filePath("plan.bc")), plansFolder)
        << "a backup does not move where plans open";
    EXPECT_EQ(startedIn([&] { return dialogs.openFile("Restore Radio", "*.img"); }, backups.filePath("radio.img")),
              backupsFolder);
    EXPECT_EQ(settings::lastFolder(settings::FolderKind::Backups), backupsFolder);
    EXPECT_EQ(settings::lastFolder(), plansFolder);

    EXPECT_EQ(settings::folderKindOf("*.csv"), settings::FolderKind::Csv);
    EXPECT_EQ(settings::folderKindOf("*.pdf"), settings::FolderKind::Pdf);
    EXPECT_EQ(settings::folderKindOf("*.jpg"), settings::FolderKind::Pictures);
    EXPECT_EQ(settings::folderKindOf("*.bc"), settings::FolderKind::Plans);
}

} // namespace
} // namespace zk::test
