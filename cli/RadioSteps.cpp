#include "RadioSteps.h"

#include "ImageFile.h"
#include "Output.h"
#include "RadioChecks.h"
#include "TransferEngine.h"

#include <iostream>

namespace zk::cli {

namespace {

using Progress = TransferEngine::ProgressFunction;

TransferResult keepDifferences(const CheckResult& check, std::vector<std::string>& differences)
{
    differences = check.differences;
    return check.transfer;
}

} // namespace

RadioStep verifyPlanStep(const ChannelTable& plan, std::vector<std::string>& differences)
{
    return {Direction::Read, [&plan, &differences](TransferEngine& engine, const Progress& progress) {
                return keepDifferences(verifyAgainstPlan(engine, plan, progress), differences);
            }};
}

RadioStep verifyImageStep(const RadioImage& image, std::vector<std::string>& differences)
{
    return {Direction::Read, [&image, &differences](TransferEngine& engine, const Progress& progress) {
                return keepDifferences(verifyAgainstImage(engine, image, progress), differences);
            }};
}

RadioStep backupStep(RadioImage& image, const std::string& file, std::ostream& report)
{
    return {Direction::Read,
            [&image](TransferEngine& engine, const Progress& progress) { return engine.readImage(image, progress); },
            [&image, file, &report] {
                if (isStandardStream(file)) {
                    std::cout.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
                    return;
                }
                saveImageFile(file, image);
                report << "Backup saved to " << file << '\n';
            }};
}

RadioStep restoreStep(const RadioImage& image)
{
    return {Direction::Write, [&image](TransferEngine& engine, const Progress& progress) {
                return engine.writeImage(image, progress);
            }};
}

bool printComparison(const std::vector<std::string>& differences, const std::string& name)
{
    if (differences.empty()) {
        std::cout << "Radio matches " << name << '\n';
        return true;
    }
    for (const std::string& line : differences)
        std::cout << line << '\n';
    std::cerr << "Radio differs from " << name << '\n';
    return false;
}

SafetyOptions takeSafetyOptions(Arguments& args)
{
    SafetyOptions options;
    Arguments rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--verify")
            options.verify = true;
        else if (args[i] == "--backup")
            options.backupFolder = optionValue(args, i, "a folder");
        else
            rest.push_back(args[i]);
    }
    args = rest;
    return options;
}

} // namespace zk::cli
