// Runs a program as a user would, with its standard streams in files, on
// POSIX systems and on Windows alike.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace ftvb::testing {

struct ProgramRun {
    ProgramRun(std::filesystem::path program_, std::vector<std::string> args_, std::filesystem::path folder_ = {},
               std::filesystem::path input_ = {})
        : program(std::move(program_)), args(std::move(args_)), folder(std::move(folder_)), input(std::move(input_)) {}

    std::filesystem::path program;
    std::vector<std::string> args;  // UTF-8, each passed as one argument
    std::filesystem::path folder;   // the current folder of the program
    std::filesystem::path input;    // standard input; the null device when empty
    std::filesystem::path output;   // standard output appends here instead of being captured
    std::size_t memoryLimit = 0;    // bytes the program may use; 0 for no limit
    std::chrono::seconds limit{300};
};

struct ProgramOutcome {
    int status = -1;  // the exit status; -1 when it could not start or was killed
    bool timedOut = false;
    std::string out;
    std::string err;
    // The memory limit held: the program never used more (a system may
    // accept a limit it does not enforce).
    bool memoryLimitHeld = true;
};

ProgramOutcome runProgram(const ProgramRun& run);

}  // namespace ftvb::testing
