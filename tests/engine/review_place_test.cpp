// Where the list of places to look at may go: the one rule that
// ftvb-convert (a name the user gave) and the window (a name beside the
// module) both keep.
#include "engine/review_place.h"

#include <gtest/gtest.h>

#include <fstream>

#include "engine/run.h"
#include "tests/support/case_line.h"
#include "tests/support/temp_folder.h"

namespace ftvb::testing {
namespace {

namespace fs = std::filesystem;

TEST(ReviewPlace, TheWindowsNameIsBesideTheModule) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        const char* module;
        const char* review;
    };
    const Case cases[] = {
        {__LINE__, "module1.bas", "module1.review.txt"},
        {__LINE__, "proj/a.b/m.bas", "proj/a.b/m.review.txt"},
        {__LINE__, "proj/a.b/m", "proj/a.b/m.review.txt"},  // the dot of a folder is no extension
        {__LINE__, ".bas", ".bas.review.txt"},
        {__LINE__, "m.tar.bas", "m.tar.review.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c));
        EXPECT_EQ(reviewFileBeside(c.module), c.review);
    }
}

TEST(ReviewPlace, NeitherASourceNorTheModuleAndTheWindowKeepsWhatItDidNotWrite) {
    const TempFolder dir("ftvb-review-place");
    const std::string module = (dir / "m.bas").string();
    const std::string source = (dir / "a.for").string();
    std::ofstream(source) << "      x = 1\n";
    std::ofstream(dir / "ours.txt") << "a.for:1: note: ... [format]\n(m.bas:3)\nreview: 1 format\n";
    std::ofstream(dir / "notes.txt") << "my own notes\n";
    std::ofstream(dir / "empty.txt");
    const NameList sources(std::vector<std::string>{source});

    struct Case {
        int line;  // where the case is written, for the failure to name
        std::string review;
        ReviewNamedBy by;
        bool writable;
        bool ours;
        OutputClash::With clash;
    };
    const Case cases[] = {
        {__LINE__, (dir / "new.txt").string(), ReviewNamedBy::program, true, false, OutputClash::With::nothing},
        {__LINE__, (dir / "ours.txt").string(), ReviewNamedBy::program, true, true, OutputClash::With::nothing},
        {__LINE__, (dir / "notes.txt").string(), ReviewNamedBy::program, false, false, OutputClash::With::nothing},
        {__LINE__, (dir / "empty.txt").string(), ReviewNamedBy::program, false, false, OutputClash::With::nothing},
        // A name the user gave is theirs to replace, and is not read.
        {__LINE__, (dir / "notes.txt").string(), ReviewNamedBy::user, true, false, OutputClash::With::nothing},
        {__LINE__, source, ReviewNamedBy::user, false, false, OutputClash::With::source},
        {__LINE__, source, ReviewNamedBy::program, false, false, OutputClash::With::source},
        {__LINE__, (dir / "." / "m.bas").string(), ReviewNamedBy::user, false, false, OutputClash::With::otherOutput},
        {__LINE__, module, ReviewNamedBy::program, false, false, OutputClash::With::otherOutput},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(caseLine(c) + ": " + c.review);
        const ReviewPlace place = reviewPlace(c.review, module, sources, c.by);
        EXPECT_EQ(place.writable(), c.writable);
        EXPECT_EQ(place.ours, c.ours);
        EXPECT_EQ(place.clash.with, c.clash);
    }
}

TEST(ReviewPlace, TheRefusalIsWordedAsFtvbConvertSaysIt) {
    OutputClash source;
    source.with = OutputClash::With::source;
    source.source = "a\x1b.for";
    OutputClash module;
    module.with = OutputClash::With::otherOutput;
    EXPECT_EQ(describeReviewClash(source, "m.bas"), "it is also listed as a source ('a\\033.for')");
    EXPECT_EQ(describeReviewClash(module, "m.bas"), "it is also the module");
    EXPECT_EQ(describeReviewClash(module, "-"), "the module goes to standard output already");
    EXPECT_EQ(describeReviewClash(OutputClash{}, "m.bas"), "");
}

}  // namespace
}  // namespace ftvb::testing
