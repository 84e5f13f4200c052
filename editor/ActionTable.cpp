#include "ActionTable.h"

#include "ToolIcons.h"
#include "f2.h"

namespace zk::actions {

std::span<const Entry> menuEntries()
{
    static const Entry entries[] = {
        {Menu::File, Kind::Command, "N1", "&New", &TForm2::N1Click, Keys::New},
        {Menu::File, Kind::Command, "N2", "&Open", &TForm2::N2Click, Keys::Open},
        {Menu::File, Kind::Command, "N3", "&Save", &TForm2::N3Click, Keys::Save},
        {Menu::File, Kind::Command, "N4", "&Quit", &TForm2::N4Click, Keys::Quit},
        {Menu::File, Kind::Separator},
        {Menu::File, Kind::Recent, "MenuRecent", "&Recent Files"},
        {Menu::File, Kind::Command, "Print", "&Print...", &TForm2::printClick, Keys::Print},
        {Menu::File, Kind::Command, "ExportPdf", "Export P&DF...", &TForm2::exportPdfClick},
        {Menu::File, Kind::Command, "ImportCsv", "&Import CSV...", &TForm2::importCsvClick},
        {Menu::File, Kind::Command, "ExportCsv", "Export &CSV...", &TForm2::exportCsvClick},
        {Menu::File, Kind::Command, "NewFromList", "New From &List...", &TForm2::newFromListClick},

        {Menu::Edit, Kind::Command, "N6", "&Read", &TForm2::N6Click},
        {Menu::Edit, Kind::Command, "N7", "&Write", &TForm2::N7Click},
        {Menu::Edit, Kind::Inert, "N8", "-------"},
        {Menu::Edit, Kind::Band, nullptr, nullptr, &TForm2::N9Click},
        {Menu::Edit, Kind::Band, nullptr, nullptr, &TForm2::N10Click},
        {Menu::Edit, Kind::Band, nullptr, nullptr, &TForm2::N11Click},
        {Menu::Edit, Kind::Band, nullptr, nullptr, &TForm2::N16Click},
        {Menu::Edit, Kind::Band, nullptr, nullptr, &TForm2::N17Click},
        {Menu::Edit, Kind::Separator},
        {Menu::Edit, Kind::Command, "Undo", "&Undo", &TForm2::undoClick, Keys::Undo},
        {Menu::Edit, Kind::Command, "Redo", "R&edo", &TForm2::redoClick, Keys::Redo},
        {Menu::Edit, Kind::Separator},
        {Menu::Edit, Kind::Command, "Cut", "Cu&t", &TForm2::cutClick, Keys::Cut, true},
        {Menu::Edit, Kind::Command, "Copy", "&Copy", &TForm2::copyClick, Keys::Copy, true},
        {Menu::Edit, Kind::Command, "Paste", "&Paste", &TForm2::pasteClick, Keys::Paste, true},
        {Menu::Edit, Kind::Command, "Delete", "&Delete", &TForm2::deleteClick, Keys::Delete, true},
        {Menu::Edit, Kind::Separator},
        {Menu::Edit, Kind::Command, "Verify", "&Verify", &TForm2::verifyClick},
        {Menu::Edit, Kind::Command, "BackupRadio", "&Backup Radio...", &TForm2::backupClick},
        {Menu::Edit, Kind::Command, "RestoreRadio", "Re&store Radio...", &TForm2::restoreClick},

        {Menu::Help, Kind::Command, "N13", "&Remark", &TForm2::N13Click},
        {Menu::Help, Kind::Command, "N14", "Change &PassWord", &TForm2::N14Click},
        {Menu::Help, Kind::Command, "ConnectionCheck", "&Connection Check", &TForm2::connectionCheckClick},

        {Menu::Bar, Kind::Command, "N15", "Quit(&Q)", &TForm2::N15Click},
    };
    return entries;
}

std::span<const ToolButton> toolButtons()
{
    static const ToolButton buttons[] = {
        {"N1", "  New  ", icons::newPlan},     {"N2", "  Open  ", icons::openPlan},
        {"N3", "  Save   ", icons::savePlan},  {"N6", "Read", icons::readRadio},
        {"N7", "Write", icons::writeRadio},    {"N13", "Remark", icons::remark},
        {"N14", "Password", icons::password},
    };
    return buttons;
}

} // namespace zk::actions
