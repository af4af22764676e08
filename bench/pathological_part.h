// The pathological part of the report: inputs built to defeat a
// linear-time engine, each judged by its bytes per second against the
// corpus's.
#pragma once

#include <string>
#include <vector>

#include "bench/inputs.h"
#include "bench/measure.h"
#include "bench/options.h"
#include "bench/report.h"

namespace ftvb::bench {

// Inputs built to defeat a linear engine, judged against the corpus's speed
// net of what any run costs.
class PathologicalPart {
public:
    PathologicalPart(const Options& o, Rounds& rounds);

    void report(const Rounds& rounds, const Totals& once, const Measure& corpus, std::vector<Verdict>& speed,
                std::vector<Verdict>& rest);

private:
    std::size_t fixed_ = 0;
    std::vector<Pathological> inputs_;
    std::vector<std::size_t> jobs_;
    std::vector<std::size_t> referenceJobs_;
};

}  // namespace ftvb::bench
