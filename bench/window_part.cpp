#include "bench/window_part.h"

#include <sys/stat.h>

#include <cstdio>

#include "bench/targets.h"

namespace ftvb::bench {

namespace {

// ftvb-window-bench's exit status when there is no Xvfb to run it on.
constexpr int kNoXvfb = 77;

}  // namespace

WindowPart::WindowPart(const Options& o, Rounds& rounds, const std::vector<std::string>& files)
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

void WindowPart::report(const Rounds& rounds, const std::string& cliModule, const Measure& reviewed,
                        std::vector<Verdict>& rest) {
    std::printf("\nWindow\n");
    const std::string windowTarget = "window/ftvb-convert <= " + bound(kMaxWindowRatio);
    if (run_) {
        const Measure& window = rounds[*run_];
        const bool same = sameContents(cliModule, module_);
        const double seconds = window.reportedMedian.value_or(window.median);
        // The window writes the list of places beside its module as well.
        const double ratio = seconds / reviewed.median;
        std::printf("  ftvb-window-bench: %.3f s as it reports (process %.3f s); module %s ftvb-convert's\n", seconds,
                    window.median, same ? "identical to" : "DIFFERS from");
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

}  // namespace ftvb::bench
