// ftvb-corpus-bench: times ftvb-convert on the LAPACK sources against the
// I/O floor (cat) and a peer translator (f2c), on the same file list in the
// same invocation, then on inputs built to defeat a linear-time engine, and
// the window on the same list and on a folder of many files.
//
//   ftvb-corpus-bench --convert BIN --corpus DIR --work DIR
//                     [--runs N] [--f2c BIN] [--window BIN] [--reference BIN]
//
// --reference names an ftvb-convert built before a change: it converts the
// same list and the same pathological inputs in the same rounds, and the
// summary says how many times faster the one measured is.
//
// Every figure is the median wall time of N runs, taken in rounds after one
// untimed round that warms the page cache; peak resident memory is the
// largest of those runs. CPU time is shown beside wall time because this
// machine is shared: it is the steadier of the two when something else runs.
// The driver exits 0 once it has measured: a failed target is a finding, not
// an error.
//
// Each part of the report is a class here that adds its commands to the
// rounds, then reads their figures and prints its table: the corpus and its
// scaling, the pathological inputs, the window. Timing is bench/measure.*,
// the inputs bench/inputs.*, the targets bench/targets.h.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench/inputs.h"
#include "bench/measure.h"
#include "bench/report.h"
#include "bench/targets.h"

namespace {

using namespace ftvb::bench;

struct Options {
    std::string convert;
    std::string corpus;
    std::string work;
    std::string f2c;
    std::string window;
    std::string reference;
    int runs = 5;
};

// ftvb-window-bench's exit status when there is no Xvfb to run it on.
constexpr int kNoXvfb = 77;

// A bound as the summary writes it: 30 as "30", 1.2 as "1.2".
std::string bound(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%g", v);
    return b;
}

std::string figure(const char* format, double a, double b) {
    char fig[160];
    std::snprintf(fig, sizeof fig, format, a, b);
    return fig;
}

// The LAPACK list once and several times over, with the copies that tell
// one cost from another.
class CorpusPart {
public:
    CorpusPart(const Options& o, Rounds& rounds, const std::vector<std::string>& files)
        : o_(o), files_(files), module_(o.work + "/corpus.bas"), reviewModule_(o.work + "/corpus-reviewed.bas") {
        cat1_ = rounds.add("cat x1", catArgs(files), kCorpusTimeoutSeconds);
        ftvb1_ = rounds.add("ftvb-convert x1", ftvbArgs(files, module_), kCorpusTimeoutSeconds);
        // The same run asked for its list of places to look at, written to a file.
        review_ =
            rounds.add("ftvb-convert --review x1",
                       concat({o.convert, "-q", "-o", reviewModule_, "--review=" + o.work + "/corpus.review"}, files),
                       kCorpusTimeoutSeconds);
        // f2c reports what it cannot translate (the Fortran 90 parts of LAPACK)
        // and goes on to the next unit, so its exit status says nothing about how
        // much it translated and is not checked.
        // The finisher on the same list: its modules go to a folder of their
        // own, since a large list is split into several.
        const std::string finished = o.work + "/finished";
        mkdir(finished.c_str(), 0755);
        finish_ = rounds.add("ftvb-convert --finish x1",
                             concat({o.convert, "-q", "--finish", "-o", finished + "/corpus.bas"}, files),
                             kCorpusTimeoutSeconds);
        if (!o.f2c.empty())
            f2c_ = rounds.add("f2c", concat({o.f2c, "-d" + o.work + "/f2c"}, files), kCorpusTimeoutSeconds);
        for (int i = 1; i < 4; ++i) {
            const int times = kFactors[i];
            std::string x = "x";
            x += std::to_string(times);
            cats_[i] = rounds.add("cat " + x, catArgs(repeated(files, times)), kCorpusTimeoutSeconds);
            ftvbs_[i] =
                rounds.add("ftvb-convert " + x, ftvbArgs(repeated(files, times), o.work + "/corpus_" + x + ".bas"),
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
        names1_ = rounds.add("names only x1", ftvbArgs(files, o.work + "/names_x1.bas"), kCorpusTimeoutSeconds,
                             "/dev/null", false, empties);
        names8_ = rounds.add("names only x8", ftvbArgs(repeated(files, 8), o.work + "/names_x8.bas"),
                             kCorpusTimeoutSeconds, "/dev/null", false, empties);
    }

    const std::string& module() const { return module_; }
    std::size_t plainJob() const { return ftvb1_; }
    std::size_t reviewJob() const { return review_; }

    void report(const Rounds& rounds, const Totals& once, std::vector<Verdict>& speed, std::vector<Verdict>& rest) {
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
        std::printf(
            "  review    %6.2f  (cpu %5.2f)  ftvb-convert --review=FILE's time over the plain run's; module %s\n",
            reviewOverFtvb, reviewOverFtvbCpu, reviewSame ? "identical" : "DIFFERS");
        std::printf("            (the list: %s)\n", lastLine(o_.work + "/corpus.review").c_str());
        // The finisher: against the plain run, and against f2c, another
        // translator that reads the whole program.
        const double finishOverFtvb = finished.median / ftvb1.median;
        const double finishOverFtvbCpu = finished.cpuMedian / ftvb1.cpuMedian;
        std::printf("  finish    %6.2f  (cpu %5.2f)  ftvb-convert --finish's time over the plain run's\n", finishOverFtvb,
                    finishOverFtvbCpu);
        finishVerdicts_.push_back({"ftvb-convert --finish <= " + bound(kMaxFinishRatio) + "x the plain run",
                                   figure("%.2fx (cpu %.2fx)", finishOverFtvb, finishOverFtvbCpu),
                                   ok(finished) && ok(ftvb1) && finishOverFtvb <= kMaxFinishRatio,
                                   finishOverFtvbCpu <= kMaxFinishRatio});
        const std::string finishF2cTarget =
            "ftvb-convert --finish >= " + bound(kMinFinishTimesF2c) + "x f2c's lines per second";
        if (f2c) {
            const double f2cOverFinish = f2c->median / finished.median;
            const double f2cOverFinishCpu = f2c->cpuMedian / finished.cpuMedian;
            std::printf("  f2c/finish %5.2f  (cpu %5.2f)  f2c's time over the finisher's: its lines/s over f2c's\n",
                        f2cOverFinish, f2cOverFinishCpu);
            finishVerdicts_.push_back({finishF2cTarget, figure("%.2fx (cpu %.2fx)", f2cOverFinish, f2cOverFinishCpu),
                                       ok(finished) && f2cOverFinish >= kMinFinishTimesF2c,
                                       f2cOverFinishCpu >= kMinFinishTimesF2c});
        } else {
            finishVerdicts_.push_back({finishF2cTarget, "f2c not installed", std::nullopt, std::nullopt});
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
        rest.insert(rest.end(), finishVerdicts_.begin(), finishVerdicts_.end());
        rest.push_back({"ftvb-convert <= " + bound(kMaxTimesCat) + "x the cat time",
                        figure("%.2fx (cpu %.2fx)", ftvbOverCat, ftvbOverCatCpu),
                        ok(ftvb1) && ftvbOverCat <= kMaxTimesCat, ftvbOverCatCpu <= kMaxTimesCat});
        const std::string rss = "peak RSS < " + bound(kMaxRssMiB) + " MiB";
        rest.push_back({rss + " (list x1)", mib(ftvb1.maxRssKiB),
                        ok(ftvb1) && static_cast<double>(ftvb1.maxRssKiB) / 1024.0 < kMaxRssMiB, std::nullopt});
        rest.push_back({rss + " (list x8)", mib(ftvb8.maxRssKiB),
                        ok(ftvb8) && static_cast<double>(ftvb8.maxRssKiB) / 1024.0 < kMaxRssMiB, std::nullopt});
        char fig[160];
        std::snprintf(fig, sizeof fig, "%+ld KiB (%+ld KiB with the list of names)", dataGrowth,
                      ftvb8.maxRssKiB - ftvb1.maxRssKiB);
        rest.push_back({"peak RSS the same for x1 and x8, names aside", fig,
                        ok(ftvb8) && ok(names8) && static_cast<double>(dataGrowth) <= kRssGrowthSlackKiB,
                        std::nullopt});
    }

private:
    static constexpr int kFactors[4] = {1, 2, 4, 8};

    std::vector<std::string> ftvbArgs(const std::vector<std::string>& list, const std::string& out) const {
        return concat({o_.convert, "-q", "-o", out}, list);
    }
    static std::vector<std::string> catArgs(const std::vector<std::string>& list) { return concat({"/bin/cat"}, list); }

    const Options& o_;
    const std::vector<std::string>& files_;
    std::string module_;
    std::string reviewModule_;
    std::vector<Verdict> finishVerdicts_;
    std::size_t finish_ = 0;
    std::size_t cat1_ = 0, ftvb1_ = 0, review_ = 0, names1_ = 0, names8_ = 0;
    std::size_t cats_[4] = {}, ftvbs_[4] = {};
    std::optional<std::size_t> f2c_;
    std::optional<std::size_t> reference_;
};

// Inputs built to defeat a linear engine, judged against the corpus's speed
// net of what any run costs.
class PathologicalPart {
public:
    PathologicalPart(const Options& o, Rounds& rounds) {
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

    void report(const Rounds& rounds, const Totals& once, const Measure& corpus, std::vector<Verdict>& speed,
                std::vector<Verdict>& rest) {
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
            rest.push_back({p.name + " >= " + bound(kMinPathoShare) + " of corpus B/s", fig,
                            ok(m) && net >= kMinPathoShare, ok(m) && netOnCpu >= kMinPathoShare});
        }
        for (const Pathological& p : inputs_) std::printf("    %-20s %s\n", p.name.c_str(), p.what.c_str());
    }

private:
    std::size_t fixed_ = 0;
    std::vector<Pathological> inputs_;
    std::vector<std::size_t> jobs_;
    std::vector<std::size_t> referenceJobs_;
};

// The window converting the same list, and opening a folder of many files
// as a desktop shows it (under Xvfb) against the same on an empty folder.
class WindowPart {
public:
    WindowPart(const Options& o, Rounds& rounds, const std::vector<std::string>& files)
        : module_(o.work + "/window.bas") {
        if (o.window.empty()) return;
        run_ = rounds.add("ftvb-window-bench x1", concat({o.window, "-o", module_}, files), kCorpusTimeoutSeconds,
                          o.work + "/window.out", true);
        const std::string none = o.work + "/folder-empty";
        mkdir(none.c_str(), 0755);
        const std::string many = makeFolderOfFiles(o.work + "/folder-100000", kFolderFiles);
        noFiles_ = rounds.add("window, empty folder", {o.window, "--folder", none}, kPathoTimeoutSeconds,
                              o.work + "/folder-empty.out", true);
        manyFiles_ = rounds.add("window, 100,000 files", {o.window, "--folder", many}, kPathoTimeoutSeconds,
                                o.work + "/folder-100000.out", true);
    }

    void report(const Rounds& rounds, const std::string& cliModule, const Measure& reviewed,
                std::vector<Verdict>& rest) {
        std::printf("\nWindow\n");
        const std::string windowTarget = "window/ftvb-convert <= " + bound(kMaxWindowRatio);
        if (run_) {
            const Measure& window = rounds[*run_];
            const bool same = sameContents(cliModule, module_);
            const double seconds = window.reportedMedian.value_or(window.median);
            // The window writes the list of places beside its module as well.
            const double ratio = seconds / reviewed.median;
            std::printf("  ftvb-window-bench: %.3f s as it reports (process %.3f s); module %s ftvb-convert's\n",
                        seconds, window.median, same ? "identical to" : "DIFFERS from");
            std::printf(
                "  window/ftvb-convert %6.2f  (process cpu %.3f s against ftvb-convert --review's %.3f s; both write "
                "the\n"
                "                              module and the list of places to look at) %s\n",
                ratio, window.cpuMedian, reviewed.cpuMedian, status(window).c_str());
            char fig[160];
            std::snprintf(fig, sizeof fig, "%.2f%s", ratio, same ? "" : " (module differs)");
            rest.push_back({windowTarget, fig, ok(window) && ratio <= kMaxWindowRatio, std::nullopt});
        } else {
            std::printf("  window/ftvb-convert row skipped: no ftvb-window-bench in the bench build\n");
            rest.push_back({windowTarget, "ftvb-window-bench not built", std::nullopt, std::nullopt});
        }
        const std::string folderTarget = "window: 100,000-file folder <= " + bound(kMaxFolderRatio) + "x an empty one";
        if (manyFiles_ && rounds[*manyFiles_].exitCode == kNoXvfb) {
            std::printf("  folder rows skipped: Xvfb is not installed (Debian package xvfb)\n");
            rest.push_back({folderTarget, "Xvfb not installed", std::nullopt, std::nullopt});
        } else if (manyFiles_) {
            const Measure& many = rounds[*manyFiles_];
            const Measure& none = rounds[*noFiles_];
            const double manySeconds = many.reportedMedian.value_or(many.median);
            const double noSeconds = none.reportedMedian.value_or(none.median);
            const double ratio = manySeconds / noSeconds;
            std::printf(
                "  opening, under Xvfb, a folder of %s files: %.3f s; an empty folder: %.3f s, as it reports\n"
                "  (shown, source list filled, the folder closed and opened again in the tree)\n",
                withCommas(kFolderFiles).c_str(), manySeconds, noSeconds);
            std::printf("  100,000 files/empty folder %6.2f  (process cpu %.3f s against %.3f s) %s\n", ratio,
                        many.cpuMedian, none.cpuMedian, status(many).c_str());
            char fig[160];
            std::snprintf(fig, sizeof fig, "%.2f", ratio);
            rest.push_back({folderTarget, fig, ok(many) && ratio <= kMaxFolderRatio, std::nullopt});
        } else {
            rest.push_back({folderTarget, "ftvb-window-bench not built", std::nullopt, std::nullopt});
        }
    }

private:
    std::string module_;
    std::optional<std::size_t> run_;
    std::optional<std::size_t> noFiles_;
    std::optional<std::size_t> manyFiles_;
};

// Prints the verdicts; the number that fail.
int summary(const std::vector<Verdict>& verdicts) {
    int failed = 0;
    std::printf("\nSummary (judged on wall time; \"cpu says PASS/FAIL\" where CPU time disagrees)\n");
    for (const Verdict& v : verdicts) {
        const char* mark = !v.pass ? "SKIP" : *v.pass ? "PASS" : "FAIL";
        if (v.pass && !*v.pass) ++failed;
        std::printf("  %s  %-50s %s", mark, v.target.c_str(), v.figure.c_str());
        if (v.pass && v.cpuPass && *v.cpuPass != *v.pass) std::printf("  [cpu says %s]", *v.cpuPass ? "PASS" : "FAIL");
        std::printf("\n");
    }
    if (failed)
        std::printf("\n%d target(s) FAIL (a measurement: make bench still succeeds)\n", failed);
    else
        std::printf("\nEvery measured target passes.\n");
    return failed;
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) die("option " + a + " needs a value");
            return argv[++i];
        };
        if (a == "--convert")
            o.convert = absolute(value());
        else if (a == "--corpus")
            o.corpus = absolute(value());
        else if (a == "--work")
            o.work = absolute(value());
        else if (a == "--f2c")
            o.f2c = value();
        else if (a == "--window")
            o.window = absolute(value());
        else if (a == "--reference")
            o.reference = absolute(value());
        else if (a == "--runs")
            o.runs = std::max(1, std::atoi(value().c_str()));
        else
            die("unknown option " + a);
    }
    if (o.convert.empty() || o.corpus.empty() || o.work.empty())
        die("usage: ftvb-corpus-bench --convert BIN --corpus DIR --work DIR [--runs N] [--f2c BIN] [--window BIN] "
            "[--reference BIN]");
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    mkdir(o.work.c_str(), 0755);
    mkdir((o.work + "/f2c").c_str(), 0755);
    // Every command's standard error, kept for one invocation.
    { std::ofstream(o.work + "/stderr.log", std::ios::trunc); }
    // Relative names keep the command lines of the four-fold list short.
    if (chdir(o.corpus.c_str()) != 0) die("cannot enter " + o.corpus);

    const std::vector<std::string> files = concat(fortranFiles(".", "SRC"), fortranFiles(".", "BLAS/SRC"));
    if (files.empty()) die("no .f files under " + o.corpus);
    const Totals once = count(files);

    std::printf("Corpus: %s files, %s lines, %.1f MB (SRC/*.f and BLAS/SRC/*.f)\n", withCommas(once.files).c_str(),
                withCommas(once.lines).c_str(), static_cast<double>(once.bytes) / 1e6);
    std::printf("Each time is the median of %d runs after one untimed warm-up run%s.\n\n", o.runs,
                o.runs < 5 ? " (fewer than 5: not figures to quote)" : "");

    Rounds rounds(o.work);
    CorpusPart corpus(o, rounds, files);
    PathologicalPart pathological(o, rounds);
    WindowPart window(o, rounds, files);

    const std::string loadBefore = loadAverage();
    std::fprintf(stderr, "Timing: one warm-up round, then %d rounds\n", o.runs);
    rounds.run(o.runs);
    const std::string loadAfter = loadAverage();

    const Measure& plain = rounds[corpus.plainJob()];
    std::printf("Load average (1, 5, 15 min) before: %s; after: %s\n", loadBefore.c_str(), loadAfter.c_str());
    // ftvb-convert is one CPU-bound thread: when its wall time runs well past
    // its CPU time, something else had the CPU.
    const double busy = plain.median / std::max(plain.cpuMedian, 1e-6);
    if (busy > 1.15) {
        std::printf(
            "WARNING: the machine was busy: ftvb-convert's wall time is %.0f%% over its CPU time;\n"
            "         the wall-time figures below are noisy (the cpu column is steadier).\n",
            (busy - 1) * 100);
    }
    std::printf("\n");

    std::vector<Verdict> speed;
    std::vector<Verdict> rest;
    corpus.report(rounds, once, speed, rest);
    pathological.report(rounds, once, plain, speed, rest);
    window.report(rounds, corpus.module(), rounds[corpus.reviewJob()], rest);
    speed.insert(speed.end(), rest.begin(), rest.end());
    summary(speed);
    return 0;
}
