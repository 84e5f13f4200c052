#pragma once
// Runs a program as a child process with the given standard input and
// collects its standard output, standard error and exit status.
#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace zk::test {

struct ProgramResult {
    int exitStatus = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// `started`, when given, is called with the child's process id as soon as it
// runs, so a test can send it a signal meanwhile from another thread.
// `environment` ("NAME=value") is added to the child's environment.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = std::string(),
                         const std::function<void(pid_t)>& started = {},
                         const std::vector<std::string>& environment = {});

} // namespace zk::test
