#pragma once
// Builds the main window's menu bar and tool bar from the action table.
#include "Lists.h"

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QString>

#include <array>

class QAction;
class QMenu;
class QToolBar;
class TForm2;

namespace zk {

struct MainActions {
    std::array<QAction*, kBands> bands{}; // N9, N10, N11, N16, N17
    QHash<QString, QAction*> byName; // every menu item, by object name
    // Their keys act on the grid's cells; the grid takes them when it is made.
    QList<QAction*> gridKeys;
    QMenu* recent = nullptr;
    QToolBar* toolBar = nullptr; // ToolBar1
};

// The desktop's Redo keys, and Ctrl+Y when they lack it.
QList<QKeySequence> redoKeys(QList<QKeySequence> desktop);

// Each action's triggered runs its handler on window.
MainActions buildMainActions(TForm2& window);

} // namespace zk
