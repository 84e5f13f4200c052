#pragma once
// The real message boxes and file dialogs behind the UserMessages and
// FileDialogs seams. Every window of the program uses these two classes.
#include "UserMessages.h"

#include <QString>

class QMessageBox;
class QWidget;

namespace zk {

class QtUserMessages : public UserMessages {
public:
    // notice: OK, no icon, titled with the application's title.
    void notice(const std::string& text) override;
    // The notice with a "Show Details..." button that unfolds the detail.
    void noticeWithDetail(const std::string& text, const std::string& detail) override;
    // "Confirm", question icon, Yes on Enter, No on Escape; closing is No.
    bool confirm(const std::string& text) override;
    // Stop icon, OK, titled with the application's title, errorBoxText(text).
    void error(const std::string& text) override;
    SaveChoice askToSave(const std::string& text) override;
};

class QtFileDialogs : public FileDialogs {
public:
    // Both start in the folder used last for the kind of file the filter
    // offers (plans, CSV, PDF, backups), kept in the user's settings.
    // Offers any name, also one that does not exist yet: opening a missing
    // file reports "Cannot open file ..." in the error box.
    std::optional<std::string> openFile(const std::string& title, const std::string& filter) override;
    // The toolkit's save dialog, which asks before replacing an existing file.
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter) override;
    // A folder that does not exist is no start place: the last one is used.
    void startNextIn(const std::string& folder, const std::string& name) override;

private:
    std::optional<std::string> run(const char* name, int mode, const std::string& title, const std::string& filter);

    std::string nextFolder_;
    std::string nextName_;
};

// The program file's name as the boxes show it in their title bar.
QString applicationTitleText();

// Widens a box so that its whole title shows.
void fitTitle(QMessageBox& box);
inline constexpr int kTitleBarAllowance = 160; // window buttons, icon, margins

// The window the boxes and dialogs belong to: the active one, if any.
QWidget* dialogParent();

} // namespace zk
