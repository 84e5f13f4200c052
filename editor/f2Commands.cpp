// TForm2's commands: the band menu, New, Open and Save, the commands other
// windows carry out, and quitting.
#include "f2.h"

#include "ChannelFile.h"
#include "Guarded.h"
#include "PlanBand.h"
#include "SaveTarget.h"

#include <QCloseEvent>

#include <string>

namespace {

const char* const kChannelFileFilter = "*.bc";

} // namespace

// ---- Bands ---------------------------------------------------------------

void TForm2::bandMenuClick(int band)
{
    zk::guarded(messages_, [&] {
        // An edit still open belongs to the old band: it is not committed
        // against it, only dropped (or saved, if the user chooses Save).
        const bool loses = table_.band() != band && zk::hasChannels(table_);
        if (loses && !settleUnsavedChanges(false)) {
            bandChanged(table_.band()); // the menu keeps its check mark
            return;
        }
        if (table_.band() != band)
            discardOpenEditors();
        // Channels of another band would not fit it: changing the band starts
        // an empty plan. The band already current keeps everything.
        history_.record(QStringLiteral("Band"), [&] {
            if (table_.band() != band)
                table_.clearChannels();
            table_.setBand(band);
        });
    });
}

void TForm2::N9Click()
{
    bandMenuClick(1);
}

void TForm2::N10Click()
{
    bandMenuClick(2);
}

void TForm2::N11Click()
{
    bandMenuClick(3);
}

void TForm2::N16Click()
{
    bandMenuClick(4);
}

void TForm2::N17Click()
{
    bandMenuClick(5);
}

// ---- File commands -------------------------------------------------------

void TForm2::N1Click()
{
    zk::guarded(messages_, [this] {
        if (!mayDropPlan("Do you want to New?"))
            return;
        discardOpenEditors();
        planFile_.clear();
        history_.record(QStringLiteral("New"), [this] {
            table_.clearChannels();
            table_.resetSettings();
        });
        history_.markSaved();
        planChanged();
    });
}

void TForm2::N2Click()
{
    zk::guarded(messages_, [this] {
        if (!settleUnsavedChanges())
            return;
        const auto path = dialogs_.openFile("Open", kChannelFileFilter);
        if (!path)
            return;
        openPlanFile(*path, false);
    });
}

void TForm2::openPlanFile(const std::string& path, bool ask)
{
    if (ask && !settleUnsavedChanges())
        return;
    discardOpenEditors();
    // Rows and settings are replaced as far as the file goes; an error
    // leaves the earlier ones loaded, and the plan then counts as changed.
    // Either way the band follows what was loaded, so that no loaded cell is
    // refused by a band it was never meant for.
    history_.record(QStringLiteral("Open"), [&] {
        try {
            zk::openChannelFile(path, table_);
        } catch (...) {
            zk::makePlanBandCurrent(table_);
            throw;
        }
        zk::makePlanBandCurrent(table_);
    });
    history_.markSaved();
    planChanged();
    planFile_ = path;
    remember(path);
}

bool TForm2::saveTo(const std::string& chosen)
{
    const std::string path = zk::channelFileName(chosen);
    if (!zk::mayReplaceCompleted(messages_, chosen, path))
        return false;
    zk::saveChannelFile(path, table_);
    history_.markSaved();
    planChanged();
    planFile_ = path;
    remember(path);
    messages_.notice("Save success!");
    return true;
}

bool TForm2::runSave()
{
    if (!commitOpenEditor())
        return false;
    const auto chosen = dialogs_.saveFile("Save", kChannelFileFilter);
    return chosen && saveTo(*chosen);
}

void TForm2::N3Click()
{
    zk::guarded(messages_, [this] { runSave(); });
}

// ---- Other commands and quitting ------------------------------------------

void TForm2::N6Click()
{
    zk::guarded(messages_, [this] {
        // The read replaces the plan: unsaved changes are asked about first.
        // Typing still in a box is no part of it: the read drops it.
        if (!settleUnsavedChanges(false))
            return;
        if (onRead)
            onRead();
    });
}

void TForm2::N7Click()
{
    zk::guarded(messages_, [this] {
        if (!commitOpenEditor())
            return;
        if (onWrite)
            onWrite();
    });
}

void TForm2::N13Click()
{
    zk::guarded(messages_, [this] {
        if (onRemark)
            onRemark();
    });
}

void TForm2::N14Click()
{
    zk::guarded(messages_, [this] {
        if (onChangePassword)
            onChangePassword();
    });
}

bool TForm2::askToQuit()
{
    bool quit = false;
    zk::guarded(messages_, [&] {
        quit = mayDropPlan("Do you want to close?");
        // Yes ends the whole program, not only this window. A transfer that
        // is waiting for the radio stops at its next step, sending nothing more.
        if (quit)
            link_.abort();
        if (quit && onQuit)
            onQuit();
    });
    return quit;
}

void TForm2::N4Click()
{
    askToQuit();
}

void TForm2::N15Click()
{
    askToQuit();
}

void TForm2::closeEvent(QCloseEvent* event)
{
    // FormCloseQuery: No keeps the window open and everything as it was.
    if (!askToQuit()) {
        event->ignore();
        return;
    }
    event->accept();
}
