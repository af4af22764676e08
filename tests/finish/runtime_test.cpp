// The runtime's pieces: what runtimeText hands the module writer.
#include "finish/runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>

#include "tests/support/case_line.h"

namespace ftvb::finish {
namespace {

using ftvb::testing::caseLine;

std::set<std::string> allNames() {
    const auto& names = runtimeNames();
    return {names.begin(), names.end()};
}

// The Ft names a text calls or uses outside comments and strings.
std::set<std::string> ftNamesIn(const std::string& text) {
    static const std::regex name(R"(\bFt\w+)");
    std::set<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        std::string code;
        bool quoted = false;
        for (char c : line) {
            if (c == '"')
                quoted = !quoted;
            else if (c == '\'' && !quoted)
                break;
            else if (!quoted)
                code += c;
        }
        for (std::sregex_iterator it(code.begin(), code.end(), name), e; it != e; ++it) out.insert(it->str());
    }
    return out;
}

TEST(Runtime, TheNamesTheWriterCallsAreThere) {
    const char* contract[] = {
        "FtWriteBegin", "FtWriteItem", "FtWriteEnd", "FtOpen",      "FtClose",   "FtFolder",    "FtReadBegin",
        "FtReadItem",   "FtReadEnd",   "FtModL",     "FtModD",      "FtSignL",   "FtSignD",     "FtDimL",
        "FtDimD",       "FtInt",       "FtNint",     "FtAnint",     "FtMaxL",    "FtMaxD",      "FtMinL",
        "FtMinD",       "FtIPow",      "FtPowI",     "FtLog10",     "FtAtan2",   "FtAsin",      "FtAcos",
        "FtSinh",       "FtCosh",      "FtTanh",     "FtStrCmp",    "FtPad",     "FtIchar",     "FtChar",
        "FtIndex",      "FtLenTrim",   "FtEpsilonD", "FtHugeD",     "FtTinyD",   "FtEpsilonS",  "FtHugeS",
        "FtTinyS",      "FtRadix",     "FtDigitsD",  "FtDigitsS",   "FtMinExpD", "FtMaxExpD",   "FtMinExpS",
        "FtMaxExpS",    "FtStop",      "FtRewind",   "FtWriteText", "FtEof",     "FtReadFormat"};
    // Reading, the status of a statement, positions and INQUIRE.
    const char* input[] = {"FtReadLong",         "FtReadDouble",   "FtReadBool",    "FtReadText",  "FtReadBeginText",
                           "FtReadBeginRecords", "FtWriteRecords", "FtIoCatch",     "FtIoEnd",     "FtIoStat",
                           "FtBackspace",        "FtEndfile",      "FtCloseStatus", "FtOpenBlank", "FtFileExists",
                           "FtFileUnit",         "FtUnitOpened",   "FtUnitName",    "FtPause"};
    std::set<std::string> names = allNames();
    for (const char* n : contract) EXPECT_TRUE(names.count(n)) << n;
    for (const char* n : input) EXPECT_TRUE(names.count(n)) << n;
}

// A helper written alone must bring everything it calls: VBA refuses a
// module that calls what it does not define, LibreOffice only when the
// line runs.
TEST(Runtime, EachHelperBringsWhatItCalls) {
    std::set<std::string> names = allNames();
    for (const auto& n : runtimeNames()) {
        std::string text = runtimeText({n});
        ASSERT_FALSE(text.empty()) << n;
        std::set<std::string> defined;
        static const std::regex header(R"((?:^|\n)(?:Public|Private)\s+(?:Function|Sub|Const|Type)?\s*(\w+))");
        for (std::sregex_iterator it(text.begin(), text.end(), header), e; it != e; ++it) defined.insert((*it)[1]);
        for (const auto& used : ftNamesIn(text)) {
            if (!names.count(used)) continue;  // a local variable that happens to start with Ft
            EXPECT_TRUE(defined.count(used)) << n << " calls " << used << " without it";
        }
    }
}

TEST(Runtime, DeclarationsComeFirstAndOnlyWhenNeeded) {
    std::string io = runtimeText({"FtWriteEnd"});
    std::size_t folder = io.find("Public FtFolder As String");
    std::size_t firstProcedure = io.find("\nPrivate Sub ");
    ASSERT_NE(folder, std::string::npos);
    EXPECT_LT(folder, std::min(firstProcedure, io.find("\nPublic ", folder + 1)));
    EXPECT_EQ(runtimeDeclarations({"FtModL"}), "");
    EXPECT_EQ(runtimeProcedures({"FtModL"}).rfind("' MOD of integers", 0), 0u)
        << "the comment above a helper goes with it";
    EXPECT_EQ(runtimeText({"FtWriteEnd"}),
              runtimeDeclarations({"FtWriteEnd"}) + "\n" + runtimeProcedures({"FtWriteEnd"}));
}

TEST(Runtime, OneFixedOrderEachPieceOnce) {
    struct Case {
        int line;  // where the case is written, for the failure to name
        std::set<std::string> used;
        std::set<std::string> same;
    };
    const Case cases[] = {
        {__LINE__, {"FtModL", "FtAtan2"}, {"FtAtan2", "FtModL", "FtAtan2"}},
        {__LINE__, {"FtAsin", "FtAcos"}, {"FtAcos", "FtAtan2", "FtAsin"}},
        {__LINE__, {"FtWriteEnd", "FtReadItem"}, {"FtReadItem", "FtWriteEnd", "FtEmit"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(caseLine(c));
        std::string text = runtimeText(c.used);
        EXPECT_EQ(text, runtimeText(c.same));
        for (const auto& n : runtimeNames()) {
            std::string header = "Function " + n + "(";
            std::size_t first = text.find(header);
            if (first != std::string::npos) {
                EXPECT_EQ(text.find(header, first + 1), std::string::npos) << n << " twice";
            }
        }
    }
    std::string two = runtimeText({"FtModL", "FtAtan2"});
    EXPECT_LT(two.find("FtModL("), two.find("FtAtan2(")) << "the file's order";
}

TEST(Runtime, UnknownNamesAndTheMarkersStayOut) {
    EXPECT_EQ(runtimeText({"NoSuchHelper", "dgemm"}), "");
    std::string all = runtimeText(allNames());
    EXPECT_EQ(all.find("' needs:"), std::string::npos);
    EXPECT_EQ(all.find("' state:"), std::string::npos);
    EXPECT_EQ(all.find("' end state"), std::string::npos);
    EXPECT_EQ(all.find('\r'), std::string::npos);
    EXPECT_EQ(all.back(), '\n');
}

// What the runtime itself must not hold: the text VBA refuses and
// LibreOffice lets through, and characters that are not plain ASCII.
TEST(Runtime, NothingOnlyLibreOfficeAccepts) {
    std::string_view bas = runtimeSource();
    EXPECT_TRUE(
        std::all_of(bas.begin(), bas.end(), [](char c) { return (c >= ' ' && c <= '~') || c == '\n' || c == '\r'; }));
    // a bound that is not a number: "Dim a(n)" ("1 To 64" is fine)
    static const std::regex variableBound(R"(\bDim\s+\w+\s*\((?:[^)]*[^\w)])?(?!To\b)[A-Za-z_]\w*)");
    static const std::regex negatedPower(R"((^|[=(,]\s*)-\s*[\w.]+\s*\^)");
    static const std::regex longLiteral(R"(\b\d{16,}|\d\.\d{15,})");
    std::string text(bas);
    std::size_t start = 0;
    int lineNo = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (line.find_first_not_of(' ') != std::string::npos && line[line.find_first_not_of(' ')] == '\'') continue;
        EXPECT_FALSE(std::regex_search(line, variableBound)) << lineNo << ": " << line;
        EXPECT_FALSE(std::regex_search(line, negatedPower)) << lineNo << ": " << line;
        EXPECT_FALSE(std::regex_search(line, longLiteral)) << lineNo << ": the VBA editor keeps 15 digits: " << line;
    }
}

}  // namespace
}  // namespace ftvb::finish
