#pragma once
// The licence-free channel lists shipped with the program, one CSV file each
// in the import's layout.
#include <string>
#include <string_view>
#include <vector>

namespace zk {

struct StockList {
    std::string name; // the file name without ".csv": "pmr446"
    std::string path;
    std::string about; // the first row's Comment: where it may be used, its power limit
};

// The lists folder: "lists/" beside the program in a build tree, else the
// installed one, dataFromPrograms (relative to the program folder) + "/lists".
// Empty when neither exists.
std::string stockListFolder(const std::string& programFolder, const std::string& dataFromPrograms);

// The first row's Comment of the list at path; empty when there is none
// or the file cannot be read.
std::string listAbout(const std::string& path);
// The same of a list's text; empty when it is no readable CSV.
std::string listAboutText(std::string_view text);

// The lists in folder, by name. A file that cannot be read has an empty about.
std::vector<StockList> stockLists(const std::string& folder);

// The list called name, or an AppError naming the lists there are.
StockList findStockList(const std::string& folder, const std::string& name);

} // namespace zk
