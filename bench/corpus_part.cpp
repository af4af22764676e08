#include "bench/corpus_part.h"

#include <sys/stat.h>

#include <cstdio>

#include "bench/targets.h"

namespace ftvb::bench {

CorpusPart::CorpusPart(const Options& o, Rounds& rounds, const std::vector<std::string>& files)
    : o_(o), files_(files), module_(o.work + "/corpus.bas"), reviewModule_(o.work + "/corpus-reviewed.bas") {
    cat1_ = rounds.add("cat x1", catArgs(files), kCorpusTimeoutSeconds);
    ftvb1_ = rounds.add("ftvb-convert x1", ftvbArgs(files, module_), kCorpusTimeoutSeconds);
    // The same run asked for its list of places to look at, written to a file.
    review_ = rounds.add("ftvb-convert --review x1",
                         concat({o.convert, "-q", "-o", reviewModule_, "--review=" + o.work + "/corpus.review"}, files),
                         kCorpusTimeoutSeconds);
    // The finisher on the same list: its modules go to a folder of their
    // own, since a large list is split into several.
    const std::string finished = o.work + "/finished";
    mkdir(finished.c_str(), 0755);
    finish_ =
        rounds.add("ftvb-convert --finish x1",
                   concat({o.convert, "-q", "--finish", "-o", finished + "/corpus.bas"}, files), kCorpusTimeoutSeconds);
    // f2c reports what it cannot translate (the Fortran 90 parts of LAPACK)
    // and goes on to the next unit, so its exit status says nothing about how
    // much it translated and is not checked.
    if (!o.f2c.empty()) f2c_ = rounds.add("f2c", concat({o.f2c, "-d" + o.work + "/f2c"}, files), kCorpusTimeoutSeconds);
    for (int i = 1; i < 4; ++i) {
        const int times = kFactors[i];
        std::string x = "x";
        x += std::to_string(times);
        cats_[i] = rounds.add("cat " + x, catArgs(repeated(files, times)), kCorpusTimeoutSeconds);
        ftvbs_[i] = rounds.add("ftvb-convert " + x, ftvbArgs(repeated(files, times), o.work + "/corpus_" + x + ".bas"),
                               kCorpusTimeoutSeconds);
    }
    cats_[0] = cat1_;
    ftvbs_[0] = ftvb1_;
    // The build before a change, on the same list in the same rounds.
    if (!o.reference.empty()) {
        reference_ = rounds.add("reference x1", concat({o.reference, "-q", "-o", o.work + "/reference.bas"}, files),
                                kCorpusTimeoutSeconds);
    }

    // The same names over empty files: what the list of names alone costs
    // in memory, so that growth with the data can be told from growth with
    // the number of names.
    const std::string empties = o.work + "/empty-names";
    makeEmptyMirror(files, empties);
    names1_ = rounds.add("names only x1", ftvbArgs(files, o.work + "/names_x1.bas"), kCorpusTimeoutSeconds, "/dev/null",
                         false, empties);
    names8_ = rounds.add("names only x8", ftvbArgs(repeated(files, 8), o.work + "/names_x8.bas"), kCorpusTimeoutSeconds,
                         "/dev/null", false, empties);
}

void CorpusPart::report(const Rounds& rounds, const Totals& once, std::vector<Verdict>& speed,
                        std::vector<Verdict>& rest) {
    const Measure& cat1 = rounds[cat1_];
    const Measure& ftvb1 = rounds[ftvb1_];
    const Measure& reviewed = rounds[review_];
    const bool reviewSame = sameContents(module_, reviewModule_);
    std::optional<Measure> f2c;
    if (f2c_) {
        f2c = rounds[*f2c_];
        f2c->exitCode = 0;
    }
    std::optional<Measure> reference;
    if (reference_) reference = rounds[*reference_];
    const bool referenceSame = reference && sameContents(module_, o_.work + "/reference.bas");

    std::printf("Corpus (± is half the spread between the fastest and the slowest run)\n");
    std::printf("  %-18s %10s %10s %10s %8s %6s %10s\n", "", "wall", "cpu", "lines/s", "MB/s", "", "peak RSS");
    throughputRow(cat1, once, false);
    throughputRow(ftvb1, once, true);
    if (f2c)
        throughputRow(*f2c, once, true);
    else
        std::printf("  f2c                skipped: f2c not installed\n");
    throughputRow(reviewed, once, true);
    const Measure& finished = rounds[finish_];
    throughputRow(finished, once, true);
    if (reference) throughputRow(*reference, once, true);
    std::printf("\n");
    const double ftvbOverCat = ftvb1.median / cat1.median;
    const double ftvbOverCatCpu = ftvb1.cpuMedian / cat1.cpuMedian;
    std::printf("  ftvb/cat  %6.2f  (cpu %5.2f)  ftvb-convert's time over cat's on the same files\n", ftvbOverCat,
                ftvbOverCatCpu);
    const std::string f2cTarget = "ftvb-convert >= " + bound(kMinTimesF2c) + "x f2c's lines per second";
    if (f2c) {
        const double f2cOverFtvb = f2c->median / ftvb1.median;
        const double f2cOverFtvbCpu = f2c->cpuMedian / ftvb1.cpuMedian;
        std::printf("  f2c/ftvb  %6.2f  (cpu %5.2f)  f2c's time over ftvb-convert's: ftvb's lines/s over f2c's\n",
                    f2cOverFtvb, f2cOverFtvbCpu);
        std::printf(
            "            (f2c writes one .c file per program unit into a temporary folder and\n"
            "             reports, then skips, what it cannot translate; see stderr.log)\n");
        speed.push_back({f2cTarget, figure("%.2fx (cpu %.2fx)", f2cOverFtvb, f2cOverFtvbCpu),
                         ok(ftvb1) && f2cOverFtvb >= kMinTimesF2c, f2cOverFtvbCpu >= kMinTimesF2c});
    } else {
        speed.push_back({f2cTarget, "f2c not installed", std::nullopt, std::nullopt});
    }
    const double reviewOverFtvb = reviewed.median / ftvb1.median;
    const double reviewOverFtvbCpu = reviewed.cpuMedian / ftvb1.cpuMedian;
    std::printf("  review    %6.2f  (cpu %5.2f)  ftvb-convert --review=FILE's time over the plain run's; module %s\n",
                reviewOverFtvb, reviewOverFtvbCpu, reviewSame ? "identical" : "DIFFERS");
    std::printf("            (the list: %s)\n", lastLine(o_.work + "/corpus.review").c_str());
    const double finishOverFtvb = finished.median / ftvb1.median;
    const double finishOverFtvbCpu = finished.cpuMedian / ftvb1.cpuMedian;
    std::printf("  finish    %6.2f  (cpu %5.2f)  ftvb-convert --finish's time over the plain run's %s\n",
                finishOverFtvb, finishOverFtvbCpu, status(finished).c_str());
    std::vector<Verdict> finishVerdicts;
    finishVerdicts.push_back({"ftvb-convert --finish <= " + bound(kMaxFinishRatio) + "x the plain run",
                              figure("%.2fx (cpu %.2fx)", finishOverFtvb, finishOverFtvbCpu),
                              ok(finished) && finishOverFtvb <= kMaxFinishRatio, finishOverFtvbCpu <= kMaxFinishRatio});
    const std::string finishF2cTarget =
        "ftvb-convert --finish >= " + bound(kMinFinishTimesF2c) + "x f2c's lines per second";
    if (f2c) {
        const double f2cOverFinish = f2c->median / finished.median;
        const double f2cOverFinishCpu = f2c->cpuMedian / finished.cpuMedian;
        std::printf("  f2c/finish %5.2f  (cpu %5.2f)  f2c's time over ftvb-convert --finish's\n", f2cOverFinish,
                    f2cOverFinishCpu);
        finishVerdicts.push_back({finishF2cTarget, figure("%.2fx (cpu %.2fx)", f2cOverFinish, f2cOverFinishCpu),
                                  ok(finished) && f2cOverFinish >= kMinFinishTimesF2c,
                                  f2cOverFinishCpu >= kMinFinishTimesF2c});
    } else {
        finishVerdicts.push_back({finishF2cTarget, "f2c not installed", std::nullopt, std::nullopt});
    }
    const std::string referenceTarget =
        "ftvb-convert >= " + bound(kMinTimesReference) + "x the reference's lines per second";
    if (reference) {
        const double referenceOverFtvb = reference->median / ftvb1.median;
        const double referenceOverFtvbCpu = reference->cpuMedian / ftvb1.cpuMedian;
        std::printf("  ref/ftvb  %6.2f  (cpu %5.2f)  the reference build's time over ftvb-convert's; module %s\n",
                    referenceOverFtvb, referenceOverFtvbCpu, referenceSame ? "identical" : "DIFFERS");
        speed.push_back({referenceTarget,
                         figure("%.2fx (cpu %.2fx)", referenceOverFtvb, referenceOverFtvbCpu) +
                             (referenceSame ? "" : ", module differs"),
                         ok(ftvb1) && referenceSame && referenceOverFtvb >= kMinTimesReference,
                         referenceOverFtvbCpu >= kMinTimesReference});
    } else {
        speed.push_back({referenceTarget, "no reference build given", std::nullopt, std::nullopt});
    }

    const Measure& ftvb8 = rounds[ftvbs_[3]];
    const Measure& names1 = rounds[names1_];
    const Measure& names8 = rounds[names8_];
    std::printf("\nScaling: the list once, twice, four and eight times over\n");
    std::printf("  %-6s %10s %10s %10s %12s %12s %12s\n", "", "cat", "ftvb", "ftvb/cat", "ftvb vs x1", "(cpu)",
                "peak RSS");
    for (int i = 0; i < 4; ++i) {
        const Measure& c = rounds[cats_[i]];
        const Measure& f = rounds[ftvbs_[i]];
        std::printf("  x%-5d %8.3f s %8.3f s %10.2f %11.2fx %11.2fx %12s %s\n", kFactors[i], c.median, f.median,
                    f.median / c.median, f.median / ftvb1.median, f.cpuMedian / ftvb1.cpuMedian,
                    mib(f.maxRssKiB).c_str(), status(f).c_str());
    }
    std::printf("  (linear time reads 1, 2, 4, 8 in \"ftvb vs x1\"; streaming, one figure for peak RSS)\n");
    const long nameGrowth = names8.maxRssKiB - names1.maxRssKiB;
    const long dataGrowth = (ftvb8.maxRssKiB - ftvb1.maxRssKiB) - nameGrowth;
    std::printf(
        "  The same names over empty files: peak RSS %s (x1), %s (x8); the list of names costs\n"
        "  about %.0f bytes per name, and growth beyond it from x1 to x8 is %+ld KiB.\n",
        mib(names1.maxRssKiB).c_str(), mib(names8.maxRssKiB).c_str(),
        static_cast<double>(nameGrowth) * 1024.0 / static_cast<double>(files_.size() * 7), dataGrowth);

    const std::string reviewTarget = "ftvb-convert --review <= " + bound(kMaxReviewRatio) + "x the plain run";
    rest.push_back(
        {reviewTarget,
         figure("%.2fx (cpu %.2fx)", reviewOverFtvb, reviewOverFtvbCpu) + (reviewSame ? "" : ", module differs"),
         ok(reviewed) && reviewSame && reviewOverFtvb <= kMaxReviewRatio, reviewOverFtvbCpu <= kMaxReviewRatio});
    rest.insert(rest.end(), finishVerdicts.begin(), finishVerdicts.end());
    rest.push_back({"ftvb-convert <= " + bound(kMaxTimesCat) + "x the cat time",
                    figure("%.2fx (cpu %.2fx)", ftvbOverCat, ftvbOverCatCpu), ok(ftvb1) && ftvbOverCat <= kMaxTimesCat,
                    ftvbOverCatCpu <= kMaxTimesCat});
    const std::string rss = "peak RSS < " + bound(kMaxRssMiB) + " MiB";
    rest.push_back({rss + " (list x1)", mib(ftvb1.maxRssKiB),
                    ok(ftvb1) && static_cast<double>(ftvb1.maxRssKiB) / 1024.0 < kMaxRssMiB, std::nullopt});
    rest.push_back({rss + " (list x8)", mib(ftvb8.maxRssKiB),
                    ok(ftvb8) && static_cast<double>(ftvb8.maxRssKiB) / 1024.0 < kMaxRssMiB, std::nullopt});
    char fig[160];
    std::snprintf(fig, sizeof fig, "%+ld KiB (%+ld KiB with the list of names)", dataGrowth,
                  ftvb8.maxRssKiB - ftvb1.maxRssKiB);
    rest.push_back({"peak RSS the same for x1 and x8, names aside", fig,
                    ok(ftvb8) && ok(names8) && static_cast<double>(dataGrowth) <= kRssGrowthSlackKiB, std::nullopt});
}

}  // namespace ftvb::bench
