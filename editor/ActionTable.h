#pragma once
// The main window's commands in one table: the menu each sits in and in
// what order, its caption, keys and handler, and the tool-bar buttons, each
// of which runs a menu item's command.
#include <span>

class QIcon;
class TForm2;

namespace zk::actions {

enum class Menu { File, Edit, Help, Bar };

enum class Kind {
    Command,
    Band,      // a band item: object name and caption from the band table
    Inert,     // shown, never enabled
    Separator,
    Recent,    // the submenu of recent files
};

// The keys of a command, as the desktop defines them.
enum class Keys { None, New, Open, Save, Quit, Print, Undo, Redo, Cut, Copy, Paste, Delete };

using Handler = void (TForm2::*)();

struct Entry {
    Menu menu;
    Kind kind;
    const char* name = nullptr; // object name
    const char* caption = nullptr; // "&" marks the access letter, unique in its menu
    Handler handler = nullptr;
    Keys keys = Keys::None;
    // The keys act on the grid's cells only while the grid has the keyboard.
    bool gridKeys = false;
};

struct ToolButton {
    const char* action; // the menu item whose command it runs
    const char* caption;
    QIcon (*icon)();
};

// In menu order: the File, Edit and Help menus, then the items of the menu
// bar itself.
std::span<const Entry> menuEntries();
// Left to right.
std::span<const ToolButton> toolButtons();

} // namespace zk::actions
