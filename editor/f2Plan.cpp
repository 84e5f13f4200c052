// TForm2's care for the plan as a whole: unsaved changes, undo and redo,
// recent files, opening a plan handed over from outside (command line, a
// drop), and fitting the window to the screen.
#include "f2.h"

#include "ChannelGrid.h"
#include "Guarded.h"
#include "ScreenFit.h"
#include "UserSettings.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

namespace {

const char* const kUnsavedQuestion = "The channel plan has unsaved changes. Do you want to save them?";

// The one local channel file among dropped URLs, if there is exactly one.
QString droppedPlan(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(QStringLiteral(".bc"), Qt::CaseInsensitive))
        return {};
    return url.toLocalFile();
}

} // namespace

// ---- Unsaved changes -----------------------------------------------------

bool TForm2::settleUnsavedChanges(bool commitFirst)
{
    if (commitFirst && !commitOpenEditor())
        return false;
    if (!history_.modified())
        return true;
    switch (messages_.askToSave(kUnsavedQuestion)) {
    case zk::SaveChoice::Save:
        return runSave() && !history_.modified();
    case zk::SaveChoice::Discard:
        return true;
    case zk::SaveChoice::Cancel:
        break;
    }
    return false;
}

bool TForm2::mayDropPlan(const char* question)
{
    if (!commitOpenEditor())
        return false;
    if (history_.modified())
        return settleUnsavedChanges(false);
    return messages_.confirm(question);
}

void TForm2::planChanged()
{
    setWindowModified(history_.modified());
}

void TForm2::changeEvent(QEvent* event)
{
    // Whoever sets the caption (the login, the remark), the modified marker
    // follows it.
    if (event->type() == QEvent::WindowTitleChange && !windowTitle().contains(QStringLiteral("[*]")))
        setWindowTitle(windowTitle() + QStringLiteral("[*]"));
    QMainWindow::changeEvent(event);
}

// ---- Undo and redo -------------------------------------------------------

void TForm2::undoClick()
{
    stepHistory(&QUndoStack::undo);
}

void TForm2::redoClick()
{
    stepHistory(&QUndoStack::redo);
}

void TForm2::stepHistory(void (QUndoStack::*step)())
{
    zk::guarded(messages_, [this, step] {
        // A read in progress keeps writing rows; its step comes when it ends.
        if (engine_.busy())
            return;
        discardOpenEditors();
        (history_.stack().*step)();
    });
}

void TForm2::replaceByRead(const std::function<void()>& read)
{
    discardOpenEditors();
    planFile_.clear(); // the radio's plan is no file's
    history_.record(QStringLiteral("Read"), read);
}

// ---- Files from elsewhere ------------------------------------------------

void TForm2::remember(const std::string& path)
{
    const QString full = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    zk::settings::rememberPlan(full);
    zk::settings::setLastFolder(QFileInfo(full).absolutePath());
}

void TForm2::fillRecentMenu()
{
    recentMenu_->clear();
    const QStringList plans = zk::settings::recentPlans();
    for (int i = 0; i < plans.size(); ++i) {
        const QString path = plans[i];
        QAction* item = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        item->setObjectName(QStringLiteral("Recent%1").arg(i + 1));
        connect(item, &QAction::triggered, this, [this, path] {
            zk::guarded(messages_, [&] {
                // A plan that is gone leaves the list; the error box says why.
                if (!QFileInfo::exists(path))
                    zk::settings::forgetPlan(path);
                openPlanFile(path.toStdString());
            });
        });
    }
    recentMenu_->setEnabled(!plans.isEmpty());
}

void TForm2::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (pendingPlan_.empty())
        return;
    // After the window is up, so that any message has a window to sit on.
    QTimer::singleShot(0, this, [this, path = std::move(pendingPlan_)] {
        zk::guarded(messages_, [&] { openPlanFile(path); });
    });
    pendingPlan_.clear();
}

void TForm2::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedPlan(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm2::dropEvent(QDropEvent* event)
{
    const QString path = droppedPlan(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Questions are asked after the drop has finished, not inside it.
    QTimer::singleShot(0, this, [this, path] {
        zk::guarded(messages_, [&] { openPlanFile(path.toStdString()); });
    });
}

// ---- Any screen ----------------------------------------------------------

void TForm2::fitToScreen(const QRect& available)
{
    // Before the first show the frame is not known yet; allow for a usual one.
    QSize frame = frameSize() - size();
    if (frame.isEmpty())
        frame = zk::kUsualFrame;
    const zk::WindowFit fit = zk::fitWindow(zk::kDesignWindowSize, frame, available.size());
    const bool visible = isVisible();
    if (fit.fixed) {
        setFixedSize(fit.size);
        setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    } else {
        setMinimumSize(fit.minimum);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(fit.size);
        // Resizable now: offer maximising as well.
        setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    }
    // Changing the window's flags hides it.
    if (visible && !isVisible())
        show();
}
