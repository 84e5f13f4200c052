// Several virtual radios at once, each port's procedure on a thread of its
// own: results in the order of the ports, a failing radio failing alone,
// and the write's backup and verify, the verify and the backup per port.
#include "FleetProcedures.h"
#include "ImageFile.h"
#include "RadioMemory.h"
#include "TempFolder.h"
#include "VirtualRadio.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>

using namespace zk;

namespace {

class Fleet : public ::testing::Test {
protected:
    void SetUp() override { test::loadPlanIntoRadio(reference, plan); }
    VirtualRadio& addRadio(int answers = RadioFaults::kOff) { return test::addRadio(radios, answers); }
    std::vector<std::string> paths() const
    {
        std::vector<std::string> list;
        for (const auto& radio : radios)
            list.push_back(radio->path());
        return list;
    }
    std::vector<PortResult> runAll(const PortProcedure& procedure)
    {
        return runOnPorts(paths(), procedure, [this](const std::string& port) {
            PortContext context;
            context.port = port;
            context.stop = &stop;
            return context;
        });
    }

    const ChannelTable plan = test::sampleRadioPlan();
    VirtualRadio reference; // the plan as a complete write leaves it
    test::TempFolder folder;
    std::atomic<bool> stop{false};
    std::vector<std::unique_ptr<VirtualRadio>> radios;
};

TEST_F(Fleet, WritesEveryRadioAndASilentOneFailsAlone)
{
    addRadio();
    addRadio(2);
    addRadio();

    const std::vector<PortResult> results = runAll(writeProcedure(plan, "plan.bc", {}));

    ASSERT_EQ(results.size(), 3u);
    for (std::size_t i : {0u, 2u}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(results[i].port, radios[i]->path());
        EXPECT_TRUE(results[i].ok);
        EXPECT_EQ(results[i].lines, std::vector<std::string>{"Write Success!"});
        EXPECT_EQ(results[i].blocksDone, 5);
        EXPECT_EQ(radios[i]->memory(), reference.memory());
    }
    EXPECT_EQ(results[1].port, radios[1]->path());
    EXPECT_FALSE(results[1].ok);
    EXPECT_EQ(results[1].lines, std::vector<std::string>{"Write Error!"});
    EXPECT_EQ(results[1].blocksDone, 2);
    EXPECT_TRUE(results[1].sentAnything);
}

TEST_F(Fleet, AWriteKeepsEachRadiosOldMemoryAndVerifiesThePlan)
{
    VirtualRadio& radio = addRadio();
    ChannelTable old;
    old.setCell(ColRx, 3, "440.00000");
    test::loadPlanIntoRadio(radio, old);
    const RadioImage before = radio.memory();
    SafetyOptions safety;
    safety.verify = true;
    safety.backupFolder = folder.file("kept");

    const std::vector<PortResult> results = runAll(writeProcedure(plan, "plan.bc", safety));

    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].ok);
    EXPECT_EQ(results[0].lines, (std::vector<std::string>{"Write Success!", "verified against plan.bc"}));
    const std::filesystem::path perPort =
        std::filesystem::path(folder.file("kept")) / std::filesystem::path(radio.path()).filename();
    EXPECT_EQ(std::filesystem::path(results[0].file).parent_path(), perPort);
    const RadioImage kept = readImageFile(results[0].file);
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), before.begin()));
    EXPECT_EQ(radio.memory(), reference.memory());
}

TEST_F(Fleet, AVerifyListsTheDifferencesOfEachRadio)
{
    VirtualRadio& same = addRadio();
    VirtualRadio& other = addRadio();
    test::loadPlanIntoRadio(same, plan);
    ChannelTable otherPlan = plan;
    otherPlan.setCell(ColRx, 6, "146.00000");
    test::loadPlanIntoRadio(other, otherPlan);

    const std::vector<PortResult> results = runAll(verifyProcedure(plan, "plan.bc"));

    EXPECT_TRUE(results[0].ok);
    EXPECT_EQ(results[0].lines, std::vector<std::string>{"Radio matches plan.bc"});
    EXPECT_FALSE(results[1].ok);
    EXPECT_EQ(results[1].lines, (std::vector<std::string>{"Radio differs from plan.bc",
                                                          "channel 6: RX Frequency radio 146.00000, plan 145.50000"}));
}

TEST_F(Fleet, BackupAndReadKeepAFilePerPortNamedAfterTheDevice)
{
    VirtualRadio& radio = addRadio();
    test::loadPlanIntoRadio(radio, plan);
    const std::string name = std::filesystem::path(radio.path()).filename().string();
    const std::vector<std::string> images = filePerPort(paths(), folder.path().string(), ".img");
    ASSERT_EQ(images, std::vector<std::string>{folder.file(name + ".img")});

    std::vector<PortResult> results = runAll(backupProcedure(paths(), images));
    EXPECT_TRUE(results[0].ok);
    EXPECT_EQ(results[0].lines, std::vector<std::string>{"Backup saved"});
    EXPECT_EQ(results[0].file, images[0]);
    const RadioImage kept = readImageFile(images[0]);
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), reference.memory().begin()));

    const std::vector<std::string> plans = filePerPort(paths(), folder.path().string(), ".bc");
    results = runAll(readProcedure(paths(), plans));
    EXPECT_TRUE(results[0].ok);
    EXPECT_EQ(results[0].lines, std::vector<std::string>{"Read Success!"});
    EXPECT_TRUE(std::filesystem::exists(folder.file(name + ".bc")));
}

TEST_F(Fleet, PortsThatWouldShareAFileAreRefused)
{
    EXPECT_THROW(filePerPort({"/dev/a/radio", "/dev/b/radio"}, "/out", ".bc"), PortListError);
    SafetyOptions safety;
    safety.backupFolder = "/kept";
    EXPECT_THROW(checkBackupFolders({"/dev/a/radio", "/dev/b/radio"}, safety), PortListError);
    EXPECT_NO_THROW(checkBackupFolders({"/dev/a/radio", "/dev/b/other"}, safety));
    EXPECT_EQ(filePerPort({"/dev/ttyUSB0", "/dev/ttyUSB1"}, "/out", ".bc"),
              (std::vector<std::string>{"/out/ttyUSB0.bc", "/out/ttyUSB1.bc"}));
}

TEST_F(Fleet, AStopBeforeTheStartSendsNothingAndAThrowingProcedureFailsAlone)
{
    addRadio();
    addRadio();
    stop = true;
    std::vector<PortResult> results = runAll(writeProcedure(plan, "plan.bc", {}));
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(results[i].ok);
        EXPECT_EQ(results[i].lines, std::vector<std::string>{"Interrupted"});
        EXPECT_TRUE(radios[i]->received().empty());
    }

    stop = false;
    const std::string throwing = radios[0]->path();
    results = runAll([&throwing](const PortContext& context) {
        if (context.port == throwing)
            throw std::runtime_error("no memory left");
        PortResult fine;
        fine.port = context.port;
        fine.ok = true;
        return fine;
    });
    EXPECT_EQ(results[0].port, throwing);
    EXPECT_FALSE(results[0].ok);
    EXPECT_EQ(results[0].lines, std::vector<std::string>{"no memory left"});
    EXPECT_TRUE(results[1].ok);
}

} // namespace
