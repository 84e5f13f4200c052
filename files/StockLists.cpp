// Finding the stock channel lists and what each says about itself.
#include "StockLists.h"

#include "CsvFields.h"
#include "CsvPlan.h"
#include "CsvText.h"
#include "Errors.h"
#include "FileIo.h"
#include "Trimmed.h"

#include <algorithm>
#include <filesystem>

namespace zk {

namespace {

constexpr const char* kListsFolder = "lists";
constexpr const char* kListExtension = ".csv";

} // namespace

std::string listAbout(const std::string& path)
{
    try {
        return listAboutText(readRegularFile(path, kCsvFileKind));
    } catch (const AppError&) {
        return std::string();
    }
}

std::string listAboutText(std::string_view text)
{
    try {
        const std::vector<CsvRecord> records = readCsvRecords(text);
        if (records.size() < 2)
            return std::string();
        const auto& header = records[0].fields;
        const auto column = std::find(header.begin(), header.end(), "Comment");
        const auto at = static_cast<std::size_t>(column - header.begin());
        if (column == header.end() || at >= records[1].fields.size())
            return std::string();
        return trimmed(records[1].fields[at], kBlanks);
    } catch (const AppError&) {
        return std::string();
    }
}

std::string stockListFolder(const std::string& programFolder, const std::string& dataFromPrograms)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const fs::path& folder : {fs::path(programFolder) / kListsFolder,
                                   (fs::path(programFolder) / dataFromPrograms / kListsFolder).lexically_normal()})
        if (fs::is_directory(folder, ec))
            return folder.string();
    return std::string();
}

std::vector<StockList> stockLists(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::vector<StockList> lists;
    std::error_code ec;
    if (folder.empty())
        return lists;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const fs::path& path = entry.path();
        if (path.extension() == kListExtension && entry.is_regular_file(ec))
            lists.push_back({path.stem().string(), path.string(), listAbout(path.string())});
    }
    std::sort(lists.begin(), lists.end(), [](const StockList& a, const StockList& b) { return a.name < b.name; });
    return lists;
}

StockList findStockList(const std::string& folder, const std::string& name)
{
    const std::vector<StockList> lists = stockLists(folder);
    std::string names;
    for (const StockList& list : lists) {
        if (list.name == name)
            return list;
        names += (names.empty() ? "" : ", ") + list.name;
    }
    if (names.empty())
        throw AppError("There is no stock list \"" + name + "\": no lists were found" +
                       (folder.empty() ? std::string() : " in \"" + folder + "\""));
    throw AppError("There is no stock list \"" + name + "\"; the lists are: " + names);
}

} // namespace zk
