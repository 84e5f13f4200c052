#pragma once
// The one way the windows speak to the user: three kinds of modal box and
// the two file dialogs. Windows get an implementation handed in, so tests can
// read every message and answer every question without a real modal box.
#include <optional>
#include <string>

namespace zk {

// The answers to the question asked before unsaved changes would be lost.
enum class SaveChoice { Save, Discard, Cancel };

class UserMessages {
public:
    virtual ~UserMessages() = default;
    // OK button, no icon, titled with the application's title.
    virtual void notice(const std::string& text) = 0;
    // The same notice with a longer explanation (other programs holding the
    // port, say) the user may unfold; boxes without that show the notice.
    virtual void noticeWithDetail(const std::string& text, const std::string& detail)
    {
        static_cast<void>(detail);
        notice(text);
    }
    // "Confirm", question icon, Yes (Enter) / No (Escape); true only for Yes.
    virtual bool confirm(const std::string& text) = 0;
    // Stop icon; shows errorBoxText(text).
    virtual void error(const std::string& text) = 0;
    // Question icon, titled with the application's title, Save (Enter),
    // Discard and Cancel (Escape); closing the box is Cancel.
    virtual SaveChoice askToSave(const std::string& text) = 0;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nothing when the user cancels. filter is a
    // pattern such as "*.bc".
    virtual std::optional<std::string> openFile(const std::string& title, const std::string& filter) = 0;
    virtual std::optional<std::string> saveFile(const std::string& title, const std::string& filter) = 0;
    // The next dialog starts in `folder` with `name` proposed, instead of in
    // the folder used last. Doubles that need no start place ignore it.
    virtual void startNextIn(const std::string& folder, const std::string& name)
    {
        static_cast<void>(folder);
        static_cast<void>(name);
    }
};

// The error's text with a full stop added when its last character's code is
// above that of the full stop.
std::string errorBoxText(const std::string& text);

// The program file's name without its extension, first letter as stored and
// the rest in lower case: "/opt/zk/ZK-H41.exe" gives "Zk-h41".
std::string applicationTitle(const std::string& programPath);

} // namespace zk
