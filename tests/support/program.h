// Runs a program as a user would, with its standard streams in files, on
// POSIX systems and on Windows alike.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace ftvb::testing {

struct ProgramRun {
    std::filesystem::path program;
    std::vector<std::string> args;  // UTF-8, each passed as one argument
    std::filesystem::path folder;   // the current folder of the program
    std::filesystem::path input;    // standard input; the null device when empty
    std::chrono::seconds limit{300};
};

struct ProgramOutcome {
    int status = -1;  // the exit status; -1 when it could not start or was killed
    bool timedOut = false;
    std::string out;
    std::string err;
};

ProgramOutcome runProgram(const ProgramRun& run);

}  // namespace ftvb::testing
