// The window part of the report: the window converting the corpus list
// against ftvb-convert --review, and opening a folder of many files
// against an empty one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bench/inputs.h"
#include "bench/measure.h"
#include "bench/options.h"
#include "bench/report.h"

namespace ftvb::bench {

// The window converting the same list, and opening a folder of many files
// as a desktop shows it (under Xvfb) against the same on an empty folder.
class WindowPart {
public:
    WindowPart(const Options& o, Rounds& rounds, const std::vector<std::string>& files);

    void report(const Rounds& rounds, const std::string& cliModule, const Measure& reviewed,
                std::vector<Verdict>& rest);

private:
    std::string module_;
    std::optional<std::size_t> run_;
    std::optional<std::size_t> noFiles_;
    std::optional<std::size_t> manyFiles_;
};

}  // namespace ftvb::bench
