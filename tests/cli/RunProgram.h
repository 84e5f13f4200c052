#pragma once
// Runs a program as a child process with the given standard input and
// collects its standard output, standard error and exit status.
#include <string>
#include <vector>

namespace zk::test {

struct ProgramResult {
    int exitStatus = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = std::string());

} // namespace zk::test
