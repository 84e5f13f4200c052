// Finding the stock lists in a build tree and in an installed tree, made
// in a temporary folder.
#include "StockLists.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zk;
using zk::test::errorOf;
using zk::test::TempFolder;
using zk::test::writeBytes;

TEST(StockLists, BesideTheProgramFirstThenTheInstalledFolder)
{
    TempFolder root;
    const std::string bin = root.file("usr/bin/");
    const std::string installed = root.file("usr/share/zk-h41/lists");
    std::filesystem::create_directories(bin);
    EXPECT_EQ(stockListFolder(bin, "../share/zk-h41"), "");
    EXPECT_EQ(errorOf([&] { findStockList("", "pmr446"); }), "There is no stock list \"pmr446\": no lists were found");

    std::filesystem::create_directories(installed);
    writeBytes(installed + "/b.csv", "Location,Frequency,Comment\n1,446.00625,\"Europe, 0.5 W\"\n");
    writeBytes(installed + "/a.csv", "Location,Frequency\n1,146.52\n");
    writeBytes(installed + "/notes.txt", "not a list");
    EXPECT_EQ(stockListFolder(bin, "../share/zk-h41"), installed);
    const std::vector<StockList> lists = stockLists(installed);
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0].name, "a");
    EXPECT_EQ(lists[0].about, "");
    EXPECT_EQ(lists[1].name, "b");
    EXPECT_EQ(lists[1].path, installed + "/b.csv");
    EXPECT_EQ(lists[1].about, "Europe, 0.5 W");
    EXPECT_EQ(errorOf([&] { findStockList(installed, "c"); }), "There is no stock list \"c\"; the lists are: a, b");

    // A build tree keeps its lists beside the programs.
    std::filesystem::create_directories(bin + "lists");
    EXPECT_EQ(stockListFolder(bin, "../share/zk-h41"), bin + "lists");
}
