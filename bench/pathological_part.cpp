#include "bench/pathological_part.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "bench/targets.h"

namespace ftvb::bench {

PathologicalPart::PathologicalPart(const Options& o, Rounds& rounds) {
    const std::string dir = o.work + "/pathological";
    mkdir(dir.c_str(), 0755);
    // What a run costs whatever its input (start-up, the module's temporary
    // file, fsync and rename): small inputs are judged net of it.
    const std::string emptyFile = dir + "/empty.f";
    { std::ofstream(emptyFile, std::ios::trunc); }
    fixed_ = rounds.add("ftvb-convert empty file", {o.convert, "-q", "-o", dir + "/out.bas", emptyFile},
                        kPathoTimeoutSeconds);
    inputs_ = makePathological(dir);
    for (const Pathological& p : inputs_) {
        jobs_.push_back(rounds.add("ftvb-convert " + p.name, {o.convert, "-q", "-o", dir + "/out.bas", p.path},
                                   kPathoTimeoutSeconds));
        if (!o.reference.empty()) {
            referenceJobs_.push_back(rounds.add("reference " + p.name,
                                                {o.reference, "-q", "-o", dir + "/reference.bas", p.path},
                                                kPathoTimeoutSeconds));
        }
    }
}

void PathologicalPart::report(const Rounds& rounds, const Totals& once, const Measure& corpus,
                              std::vector<Verdict>& speed, std::vector<Verdict>& rest) {
    // Shares of the corpus's bytes per second, gross and net of the fixed
    // cost of a run, and the same net share on CPU time, which load from
    // elsewhere barely moves.
    const Measure& fixed = rounds[fixed_];
    auto netSeconds = [&](double s) { return std::max(s - fixed.median, 1e-4); };
    auto netCpu = [&](double s) { return std::max(s - fixed.cpuMedian, 1e-4); };
    const double corpusBps = static_cast<double>(once.bytes) / corpus.median;
    const double corpusNetBps = static_cast<double>(once.bytes) / netSeconds(corpus.median);
    const double corpusNetCpuBps = static_cast<double>(once.bytes) / netCpu(corpus.cpuMedian);
    std::printf(
        "\nPathological inputs (share: bytes per second over the corpus's %.1f MB/s, gross and net\n"
        "of the fixed cost of a run, %.1f ms: ftvb-convert on an empty file)\n",
        corpusBps / 1e6, fixed.median * 1e3);
    std::printf("  %-20s %12s %10s %9s %9s %9s %7s %7s %7s %10s %9s\n", "", "bytes", "lines", "wall", "cpu", "MB/s",
                "gross", "net", "net cpu", "peak RSS", "ref/this");
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        const Pathological& p = inputs_[i];
        const Measure& m = rounds[jobs_[i]];
        const double bytes = static_cast<double>(p.bytes);
        const double gross = bytes / m.median / corpusBps;
        const double net = bytes / netSeconds(m.median) / corpusNetBps;
        const double netOnCpu = bytes / netCpu(m.cpuMedian) / corpusNetCpuBps;
        char vsReference[32] = "";
        if (i < referenceJobs_.size()) {
            const Measure& r = rounds[referenceJobs_[i]];
            const double vs = r.median / m.median;
            const double vsCpu = r.cpuMedian / std::max(m.cpuMedian, 1e-6);
            std::snprintf(vsReference, sizeof vsReference, "%.2f", vs);
            speed.push_back({p.name + " no slower than the reference", figure("%.2fx (cpu %.2fx)", vs, vsCpu),
                             ok(m) && vs >= 1.0, vsCpu >= 1.0});
        }
        std::printf("  %-20s %12s %10s %7.3f s %7.3f s %9.2f %7.3f %7.3f %7.3f %10s %9s %s\n", p.name.c_str(),
                    withCommas(p.bytes).c_str(), withCommas(p.lines).c_str(), m.median, m.cpuMedian,
                    bytes / 1e6 / m.median, gross, net, netOnCpu, mib(m.maxRssKiB).c_str(), vsReference,
                    status(m).c_str());
        char fig[160];
        std::snprintf(fig, sizeof fig, "net %.3f (gross %.3f, net cpu %.3f)%s", net, gross, netOnCpu,
                      m.timedOut ? ", timed out" : "");
        rest.push_back({p.name + " >= " + bound(kMinPathoShare) + " of corpus B/s", fig, ok(m) && net >= kMinPathoShare,
                        ok(m) && netOnCpu >= kMinPathoShare});
    }
    for (const Pathological& p : inputs_) std::printf("    %-20s %s\n", p.name.c_str(), p.what.c_str());
}

}  // namespace ftvb::bench
