#include "ActionMenus.h"

#include "ActionTable.h"
#include "f2.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <string_view>

namespace zk {

namespace {

using actions::Keys;

constexpr int kToolBarHeight = 57;
constexpr QSize kToolButtonSize(53, 52);

} // namespace

QList<QKeySequence> redoKeys(QList<QKeySequence> desktop)
{
    // Ctrl+Y redoes in spreadsheets everywhere, also where the desktop's own
    // Redo key is Ctrl+Shift+Z only.
    const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y);
    if (!desktop.contains(ctrlY))
        desktop.append(ctrlY);
    return desktop;
}

namespace {

QList<QKeySequence> keysOf(Keys keys)
{
    static const std::pair<Keys, QKeySequence::StandardKey> standard[] = {
        {Keys::New, QKeySequence::New},     {Keys::Open, QKeySequence::Open},   {Keys::Save, QKeySequence::Save},
        {Keys::Print, QKeySequence::Print}, {Keys::Undo, QKeySequence::Undo},   {Keys::Redo, QKeySequence::Redo},
        {Keys::Cut, QKeySequence::Cut},     {Keys::Copy, QKeySequence::Copy},   {Keys::Paste, QKeySequence::Paste},
        {Keys::Delete, QKeySequence::Delete},
    };
    if (keys == Keys::Quit) {
        // Some platforms define no Quit key; Ctrl+Q is what desktops use.
        const QList<QKeySequence> quit = QKeySequence::keyBindings(QKeySequence::Quit);
        return quit.isEmpty() ? QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Q)} : quit;
    }
    if (keys == Keys::Redo)
        return redoKeys(QKeySequence::keyBindings(QKeySequence::Redo));
    for (const auto& [ours, key] : standard)
        if (ours == keys)
            return QKeySequence::keyBindings(key);
    return {};
}

// A band item's access letter is the band's number, where it first shows
// in the limits: "VHF:&136-174" for band 1, "UHF:440-&520" for band 5.
QString bandCaption(const Band& band, int number)
{
    QString caption = QString::fromStdString(band.caption);
    const qsizetype at = caption.indexOf(QChar(u'0' + number), caption.indexOf(u':') + 1);
    if (at >= 0)
        caption.insert(at, u'&');
    return caption;
}

QToolBar* buildToolBar(TForm2& window, const QHash<QString, QAction*>& actions)
{
    auto* bar = new QToolBar(&window);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(kToolBarHeight);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // A small caption font, so "Password" fits a 53-pixel button.
    QFont captionFont = bar->font();
    captionFont.setPixelSize(10);
    bar->setFont(captionFont);
    window.addToolBar(Qt::TopToolBarArea, bar);

    int number = 0;
    for (const actions::ToolButton& button : actions::toolButtons()) {
        QAction* action = actions.value(QString::fromLatin1(button.action));
        if (number > 0)
            bar->addSeparator();
        action->setIcon(button.icon());
        action->setIconText(QString::fromLatin1(button.caption));
        bar->addAction(action);
        QWidget* widget = bar->widgetForAction(action);
        widget->setObjectName(QStringLiteral("ToolButton%1").arg(++number));
        widget->setFixedSize(kToolButtonSize);
    }
    return bar;
}

} // namespace

MainActions buildMainActions(TForm2& window)
{
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto menu = [bar](const char* name, const char* caption) {
        QMenu* m = bar->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    QMenu* file = menu("MenuFile", "File(&F)");
    QMenu* edit = menu("MenuEdit", "Edit(&E)");
    QMenu* help = menu("MenuHelp", "Help(&H)");
    const auto where = [&](actions::Menu m) -> QWidget* {
        switch (m) {
        case actions::Menu::File:
            return file;
        case actions::Menu::Edit:
            return edit;
        case actions::Menu::Help:
            return help;
        case actions::Menu::Bar:
            break;
        }
        return bar;
    };

    MainActions made;
    std::size_t band = 0;
    for (const actions::Entry& entry : actions::menuEntries()) {
        QWidget* into = where(entry.menu);
        if (entry.kind == actions::Kind::Separator) {
            static_cast<QMenu*>(into)->addSeparator();
            continue;
        }
        if (entry.kind == actions::Kind::Recent) {
            made.recent = static_cast<QMenu*>(into)->addMenu(QString::fromLatin1(entry.caption));
            made.recent->setObjectName(QString::fromLatin1(entry.name));
            continue;
        }
        const bool isBand = entry.kind == actions::Kind::Band;
        const Band* b = isBand ? &bandTable()[band] : nullptr;
        auto* action = new QAction(
            isBand ? bandCaption(*b, static_cast<int>(band) + 1) : QString::fromLatin1(entry.caption), &window);
        action->setObjectName(isBand ? QString::fromStdString(b->menuItem) : QString::fromLatin1(entry.name));
        action->setIconVisibleInMenu(false);
        action->setShortcuts(keysOf(entry.keys));
        // Keys typed into an in-place box are the box's own (its undo, its paste).
        action->setShortcutContext(entry.gridKeys ? Qt::WidgetShortcut : Qt::WindowShortcut);
        if (entry.kind == actions::Kind::Inert)
            action->setEnabled(false);
        if (entry.handler)
            QObject::connect(action, &QAction::triggered, &window, entry.handler);
        if (isBand) {
            // Checked by the band menu itself, never by a click on its own.
            action->setCheckable(true);
            made.bands[band++] = action;
        }
        if (entry.gridKeys)
            made.gridKeys.append(action);
        into->addAction(action);
        made.byName.insert(action->objectName(), action);
    }
    made.toolBar = buildToolBar(window, made.byName);
    return made;
}

} // namespace zk
