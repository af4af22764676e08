// The targets of the benchmarks, in one place: the summary's wording is made
// from these numbers, and bench/README.md quotes them.
#pragma once

namespace ftvb::bench {

constexpr double kMinTimesF2c = 30.0;       // ftvb lines/s over f2c lines/s
constexpr double kMaxTimesCat = 7.0;        // ftvb time over cat time
constexpr double kMinTimesReference = 2.0;  // ftvb lines/s over the reference build's
constexpr double kMaxRssMiB = 8.0;
constexpr double kMinPathoShare = 0.1;       // of the corpus bytes per second
constexpr double kMaxWindowRatio = 1.5;      // the window's time over ftvb-convert --review's
constexpr double kMaxReviewRatio = 1.2;      // --review's time over the plain run's
constexpr double kMaxFinishRatio = 3.0;      // --finish's time over the plain run's
constexpr double kMinFinishTimesF2c = 10.0;  // --finish's lines/s over f2c's
// The window opening a folder of this many files, against an empty folder.
constexpr int kFolderFiles = 100'000;
constexpr double kMaxFolderRatio = 8.0;
// "Memory does not grow": beyond what the longer list of names itself
// costs, eight times the list may take this much more than once, to absorb
// allocator and page-rounding noise, and no more.
constexpr double kRssGrowthSlackKiB = 256.0;

// A run that takes this long is taken to be stuck; the row reports it.
constexpr double kCorpusTimeoutSeconds = 600.0;
constexpr double kPathoTimeoutSeconds = 120.0;

}  // namespace ftvb::bench
