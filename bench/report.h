// The benchmark report's pieces: figures as people read them, table rows,
// and the verdict of each target.
#pragma once

#include <optional>
#include <string>

#include "bench/inputs.h"
#include "bench/measure.h"

namespace ftvb::bench {

std::string withCommas(long long v);
std::string mib(long kib);
// "TIMED OUT", "exit N", or nothing for a run that went well.
std::string status(const Measure& m);
bool ok(const Measure& m);
void throughputRow(const Measure& m, const Totals& t, bool showRss);
std::string loadAverage();
bool sameContents(const std::string& a, const std::string& b);
// The last line of a text file, as the summary of a review list is.
std::string lastLine(const std::string& name);
// A bound as the summary writes it: 30 as "30", 1.2 as "1.2".
std::string bound(double v);
// Two figures in a printf format: "%.2fx (cpu %.2fx)".
std::string figure(const char* format, double a, double b);

struct Verdict {
    std::string target;
    std::string figure;
    std::optional<bool> pass;     // nullopt: not measured
    std::optional<bool> cpuPass;  // the same target judged on CPU time, where it applies
};

}  // namespace ftvb::bench
