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
// Each part of the report is a class of its own that adds its commands to
// the rounds, then reads their figures and prints its table: the corpus and
// its scaling (bench/corpus_part.*), the pathological inputs
// (bench/pathological_part.*), the window (bench/window_part.*). Timing is
// bench/measure.*, the inputs bench/inputs.*, the report's pieces
// bench/report.*, the targets bench/targets.h.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench/corpus_part.h"
#include "bench/inputs.h"
#include "bench/measure.h"
#include "bench/options.h"
#include "bench/pathological_part.h"
#include "bench/report.h"
#include "bench/window_part.h"

namespace {

using namespace ftvb::bench;

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
