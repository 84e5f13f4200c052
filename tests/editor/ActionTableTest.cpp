// The main window's action table read as data, without a window: menu
// order, the tool bar's buttons and which commands act on the grid only.
#include "ActionTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace zk::actions;

namespace {

// The menu's items as names; "-" a separator, "band" a band item.
std::vector<std::string> itemsOf(Menu menu)
{
    std::vector<std::string> names;
    for (const Entry& entry : menuEntries()) {
        if (entry.menu != menu)
            continue;
        if (entry.kind == Kind::Separator)
            names.push_back("-");
        else if (entry.kind == Kind::Band)
            names.push_back("band");
        else
            names.push_back(entry.name);
    }
    return names;
}

} // namespace

TEST(ActionTable, MenusListTheirItemsInOrder)
{
    EXPECT_EQ(itemsOf(Menu::File), (std::vector<std::string>{"N1", "N2", "N3", "N4", "-", "MenuRecent", "Print",
                                                             "ExportPdf", "ImportCsv", "ExportCsv",
                                                             "NewFromList"}));
    EXPECT_EQ(itemsOf(Menu::Edit),
              (std::vector<std::string>{"N6", "N7", "N8", "band", "band", "band", "band", "band", "-", "Undo", "Redo", "-",
                                        "Cut", "Copy", "Paste", "Delete", "-", "Verify", "BackupRadio",
                                        "RestoreRadio"}));
    EXPECT_EQ(itemsOf(Menu::Help), (std::vector<std::string>{"N13", "N14", "ConnectionCheck"}));
    EXPECT_EQ(itemsOf(Menu::Bar), std::vector<std::string>{"N15"});
}

TEST(ActionTable, EveryCommandHasAHandlerAndANameOfItsOwn)
{
    std::set<std::string> names;
    for (const Entry& entry : menuEntries()) {
        const bool runs = entry.kind == Kind::Command || entry.kind == Kind::Band;
        EXPECT_EQ(entry.handler != nullptr, runs) << (entry.name ? entry.name : "a band or separator");
        if (entry.name) {
            EXPECT_TRUE(names.insert(entry.name).second) << entry.name << " twice";
        }
    }
}

TEST(ActionTable, ToolButtonsRunMenuCommands)
{
    std::vector<std::string> buttons;
    for (const ToolButton& button : toolButtons()) {
        buttons.push_back(button.action);
        bool inMenu = false;
        for (const Entry& entry : menuEntries())
            inMenu = inMenu || (entry.kind == Kind::Command && entry.name == std::string(button.action));
        EXPECT_TRUE(inMenu) << button.action;
    }
    EXPECT_EQ(buttons, (std::vector<std::string>{"N1", "N2", "N3", "N6", "N7", "N13", "N14"}));
}

TEST(ActionTable, OnlyTheCellCommandsKeepTheirKeysToTheGrid)
{
    std::vector<std::string> gridOnly;
    for (const Entry& entry : menuEntries())
        if (entry.gridKeys)
            gridOnly.push_back(entry.name);
    EXPECT_EQ(gridOnly, (std::vector<std::string>{"Cut", "Copy", "Paste", "Delete"}));
}
