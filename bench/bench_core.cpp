// Costs of the plan conversions: the memory records of a full plan both
// ways, the channel file text both ways, and save/open through real files.
#include "ChannelFile.h"
#include "Codec.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Every channel in use and every setting away from its first item, so no
// step takes the short way of an empty cell.
zk::ChannelTable fullPlan()
{
    zk::ChannelTable t;
    const char* const decodeTones[] = {"67.0HZ", "D023N", "250.3HZ", "D754I"};
    for (int row = 1; row <= zk::kChannels; ++row) {
        const std::string mhz = std::to_string(400 + row * 5) + ".12500";
        t.setCell(zk::ColRx, row, mhz);
        t.setCell(zk::ColTx, row, mhz);
        t.setCell(zk::ColDecode, row, decodeTones[row % 4]);
        t.setCell(zk::ColEncode, row, decodeTones[(row + 1) % 4]);
        t.setCell(zk::ColPower, row, row % 2 ? "High" : "Low");
        t.setCell(zk::ColBandwidth, row, row % 3 ? "Wide" : "Narrow");
    }
    const int settings[zk::kSettings] = {2, 40, 9, 1, 8};
    for (int s = 0; s < zk::kSettings; ++s)
        t.setSetting(s, settings[s]);
    return t;
}

void BM_EncodeDecodePlan(benchmark::State& state)
{
    const zk::ChannelTable plan = fullPlan();
    zk::ChannelTable target;
    for (auto _ : state) {
        std::vector<std::string> records;
        records.reserve(zk::kChannels + 1);
        for (int row = 1; row <= zk::kChannels; ++row)
            records.push_back(zk::encodeChannelRecord(plan, row));
        records.push_back(zk::encodeSettingsRecord(plan));
        for (int row = 1; row <= zk::kChannels; ++row)
            zk::decodeChannelRecord(target, records[static_cast<std::size_t>(row - 1)], row);
        zk::decodeSettingsRecord(target, records.back());
        benchmark::DoNotOptimize(target);
    }
    state.SetItemsProcessed(state.iterations() * (zk::kChannels + 1));
}
BENCHMARK(BM_EncodeDecodePlan);

void BM_WriteReadChannelText(benchmark::State& state)
{
    const zk::ChannelTable plan = fullPlan();
    zk::ChannelTable target;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = zk::writeChannelText(plan);
        zk::readChannelText(target, text);
        bytes += text.size();
        benchmark::DoNotOptimize(target);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_WriteReadChannelText);

void BM_SaveOpenChannelFile(benchmark::State& state)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zk-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        state.SkipWithError("cannot make a temporary folder");
        return;
    }
    const std::string path = pattern + "/plan.bc";
    const zk::ChannelTable plan = fullPlan();
    zk::ChannelTable target;
    for (auto _ : state) {
        zk::saveChannelFile(path, plan); // includes the fsync that makes it durable
        zk::openChannelFile(path, target);
        benchmark::DoNotOptimize(target);
    }
    std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_SaveOpenChannelFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
