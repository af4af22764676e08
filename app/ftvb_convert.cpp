// ftvb-convert: the conversion run from the command line.
//
//   ftvb-convert [-o MODULE] [-q] [--review[=FILE]] [--finish] FILE...
//
// Exit status: 0 when every file was converted, 1 when some listed files
// could not be read (the others are converted), 2 for a usage error or when
// the module was not written, 130 when interrupted.
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/console.h"
#include "engine/files.h"
#include "engine/review_place.h"
#include "engine/run.h"
#include "engine/shown_name.h"
#include "finish/finish.h"
#include "ftvb/version.h"

namespace {

constexpr const char* kUsage =
    "usage: ftvb-convert [-o MODULE] [-q] [--review[=FILE]] [--finish] FILE...\n"
    "Translates fixed-form FORTRAN 77 files, in the order given, into one BASIC module.\n"
    "\n"
    "  -o, --output MODULE   module to write; default module1.bas in the current folder;\n"
    "                        \"-\" writes to standard output\n"
    "  -q, --quiet           print nothing on success\n"
    "      --review[=FILE]   list the places of the module that need a person, as\n"
    "                        FILE:LINE: note: ... [kind] (MODULE:LINE), to standard\n"
    "                        error or to FILE; \"-\" lists them on standard output\n"
    "      --finish          write VBA that compiles and runs: the module, split into\n"
    "                        MODULE_2.bas... when too long for VBA; prints each name\n"
    "  -h, --help            show this help\n"
    "      --version         show the version\n"
    "\n"
    "A FILE of \"-\" reads standard input.\n";

// Shows the line count live on a terminal, at most ten times a second, and
// writes the review, when one is asked for, as the run goes: full blocks
// as they fill, the rest before the module is put in place.
class Progress : public ftvb::RunObserver {
public:
    Progress(bool live, ftvb::ReviewList* review) : live_(live), review_(review) {}

    // Where the review goes: a file, "-" or standard error through
    // `writer`, or, without one, the console by printError.
    void reviewTo(ftvb::ModuleWriter* writer) {
        writer_ = writer;
        review_->spillTo([this](std::string_view block) { put(block); });
    }

    bool wantsReview() override { return review_ != nullptr; }
    void reviewNoted(const ftvb::ReviewNote& note) override { review_->add(note); }

    void beforeCommit() override {
        if (review_ == nullptr) return;
        for (const std::string_view piece : review_->pieces()) put(piece);
        if (writer_ != nullptr) writer_->sendBuffered();
    }

    void lineCounted(long long lines) override {
        if (!live_ || (lines & 0x3FF) != 0) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(100)) return;
        last_ = now;
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, lines).ptr;
        ftvb::console::printError({"\r", std::string_view(digits, static_cast<std::size_t>(end - digits)), " lines"});
        shown_ = true;
    }

    bool stopRequested() override { return ftvb::console::interrupted(); }

    void clear() {
        if (shown_) ftvb::console::eraseLine();
        shown_ = false;
    }

private:
    // Review entries on standard error must not follow the live count on
    // its line.
    void put(std::string_view bytes) {
        clear();
        if (writer_ != nullptr) {
            writer_->writeBytes(bytes);
        } else {
            ftvb::console::printError({bytes});
        }
    }

    bool live_;
    ftvb::ReviewList* review_;
    ftvb::ModuleWriter* writer_ = nullptr;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_{};
};

// A name as messages show it, control characters escaped; lives until the
// end of the full expression that makes it.
class Shown {
public:
    explicit Shown(std::string_view name) : text_(ftvb::shownName(name, storage_)) {}
    Shown(const Shown&) = delete;
    Shown& operator=(const Shown&) = delete;
    std::string_view text() const { return text_; }

private:
    std::string storage_;  // made before text_, which may point into it
    std::string_view text_;
};

// "ftvb-convert: " and the pieces on one line of standard error. Builds no
// string: after a run out of memory there may be no room for one.
void say(std::initializer_list<std::string_view> pieces) {
    std::string_view parts[6] = {"ftvb-convert: "};
    std::size_t count = 1;
    for (std::string_view piece : pieces) {
        if (count < 5) parts[count++] = piece;
    }
    parts[count] = "\n";
    ftvb::console::printError({parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]});
}

int usageError(std::initializer_list<std::string_view> message) {
    say(message);
    ftvb::console::printError({"Try 'ftvb-convert --help' for more information.\n"});
    return 2;
}

// --help and --version succeed only when what they print arrives.
int printed(const std::string& text) {
    const std::string why = ftvb::console::printOut(text);
    if (why.empty()) return 0;
    say({"cannot write standard output: ", why});
    return 2;
}

int convert(const std::vector<std::string>& args);

// Memory kept back for the moment memory runs out: under a tight limit the
// C++ runtime may have no room left even to throw std::bad_alloc, and would
// abort with the temporary file left behind. The first failed allocation
// gives this back and throws, so the run can report it and clean up.
void* gReserve = nullptr;
constexpr std::size_t kReserve = std::size_t{32} * 1024;

void onOutOfMemory() {
    std::free(gReserve);
    gReserve = nullptr;
    std::set_new_handler(nullptr);
    throw std::bad_alloc();
}

}  // namespace

int main(int argc, char** argv) {
    ftvb::console::prepare();
    gReserve = std::malloc(kReserve);
    if (gReserve == nullptr) {
        ftvb::console::printError({"ftvb-convert: out of memory\n"});
        return 2;
    }
    std::set_new_handler(onOutOfMemory);
    try {
        return convert(ftvb::console::arguments(argc, argv));
    } catch (const std::bad_alloc&) {
        // Only the arguments can be too much here: the run itself reports
        // its own shortage of memory and keeps the old module.
        ftvb::console::printError({"ftvb-convert: out of memory\n"});
        return 2;
    }
}

namespace {

struct Arguments {
    std::string module = "module1.bas";
    bool quiet = false;
    bool review = false;
    bool finish = false;
    std::optional<std::string> reviewFile;
    std::vector<std::string> files;
};

// Reads the command line into `a`; an exit status when it ends the program
// there (help, version, a usage error).
std::optional<int> parseArguments(const std::vector<std::string>& args, Arguments& a) {
    bool optionsDone = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsDone || arg == "-" || arg.empty() || arg[0] != '-') {
            // An empty name (an unset variable) names no file; taken as
            // none, it would replace the module with an empty one.
            if (arg.empty()) return usageError({"empty file name"});
            for (std::string& name : ftvb::console::filesNamed(arg)) a.files.push_back(std::move(name));
        } else if (arg == "--") {
            optionsDone = true;
        } else if (arg == "-h" || arg == "--help") {
            return printed(kUsage);
        } else if (arg == "--version") {
            return printed("ftvb-convert " + std::string(ftvb::kVersionText) + "\n");
        } else if (arg == "-q" || arg == "--quiet") {
            a.quiet = true;
        } else if (arg == "--finish") {
            a.finish = true;
        } else if (arg == "--review") {
            a.review = true;
            a.reviewFile.reset();
        } else if (arg.rfind("--review=", 0) == 0) {
            a.review = true;
            a.reviewFile = arg.substr(9);
            if (a.reviewFile->empty()) return usageError({"option '--review=' needs a file name"});
        } else if (arg == "-o" || arg == "--output") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return usageError({"option '", arg, "' needs a module name"});
            a.module = args[++i];
        } else if (arg.rfind("--output=", 0) == 0) {
            a.module = arg.substr(9);
            if (a.module.empty()) return usageError({"option '--output' needs a module name"});
        } else if (arg.rfind("-o", 0) == 0) {
            a.module = arg.substr(2);
        } else {
            return usageError({"unknown option '", Shown(arg).text(), "'"});
        }
    }
    if (a.files.empty()) return usageError({"no FORTRAN file given"});
    // Standard error appending to a source (2>>a.for): the list would be
    // read back into the module. Said nowhere, since saying it would write
    // to the source too.
    if (a.review && !a.reviewFile && ftvb::standardErrorClash(ftvb::NameList(a.files))) return 2;
    if (a.reviewFile) {
        // Named here, so a file there is replaced, unless it is a source or
        // the module.
        const ftvb::ReviewPlace place =
            ftvb::reviewPlace(*a.reviewFile, a.module, ftvb::NameList(a.files), ftvb::ReviewNamedBy::user);
        if (!place.writable()) {
            const std::string clash = ftvb::describeReviewClash(place.clash, a.module);
            return usageError({"cannot write the review to '", Shown(*a.reviewFile).text(), "': ", clash});
        }
    }
    return std::nullopt;
}

// Said even when it is standard error that failed: the status tells.
int reviewFailed(const std::optional<std::string>& file, const ftvb::Failure& why) {
    if (file) {
        say({"cannot write '", Shown(*file).text(), "': ", ftvb::describe(why)});
    } else {
        say({"cannot write standard error: ", ftvb::describe(why)});
    }
    return 2;
}

int interruptedRun(const std::string& module) {
    say({"interrupted; '", Shown(module).text(), "' left as it was"});
    return 130;
}

int convert(const std::vector<std::string>& args) {
    Arguments a;
    if (const std::optional<int> status = parseArguments(args, a)) return *status;
    const std::string& module = a.module;
    const std::vector<std::string>& files = a.files;

    ftvb::console::catchInterrupts();

    ftvb::ReviewList reviewList(module);
    Progress progress(!a.quiet && ftvb::console::errorIsTerminal(), a.review ? &reviewList : nullptr);
    // A review file is written as the run goes, in place at the end only
    // when the module is. A console shows the review through printError,
    // which speaks its language; anything else takes the bytes.
    ftvb::ModuleWriter reviewWriter(&progress);
    reviewWriter.skipDiskFlush();
    const bool reviewToConsole = a.review && !a.reviewFile && ftvb::console::errorIsConsole();
    if (a.review && !reviewToConsole) {
        const ftvb::Status opened = a.reviewFile ? reviewWriter.open(*a.reviewFile) : reviewWriter.openStandardError();
        if (opened.failedWith(ftvb::Reason::stopped)) return interruptedRun(module);
        if (!opened.ok()) return reviewFailed(a.reviewFile, opened.failure());
    }
    if (a.review) progress.reviewTo(reviewToConsole ? nullptr : &reviewWriter);
    ftvb::NameList list(files);
    ftvb::finish::FinishResult result;
    if (a.finish) {
        result = ftvb::finish::runFinish(module, list, progress);
    } else {
        static_cast<ftvb::RunResult&>(result) = ftvb::runConversion(module, list, progress);
    }
    progress.clear();

    if (result.stopped) return interruptedRun(module);
    for (const ftvb::SkippedFile& f : result.skipped) {
        if (ftvb::console::isUnmatchedPattern(f.name)) {
            say({"no file matches '", Shown(f.name).text(), "'"});
        } else {
            say({"cannot read '", Shown(f.name).text(), "': ", ftvb::describe(f.why)});
        }
    }
    if (!result.moduleWritten) {
        if (result.moduleFailure.reason == ftvb::Reason::nothingRead) {
            say({"no file could be read; '", Shown(module).text(), "' left as it was"});
            return 1;
        }
        say({"cannot write '", Shown(module).text(), "': ", ftvb::describe(result.moduleFailure)});
        return 2;
    }
    // The review of a module that was not written would point nowhere: its
    // file is put in place only now.
    if (a.review && !reviewToConsole) {
        if (const ftvb::Status committed = reviewWriter.commit(); !committed.ok())
            return reviewFailed(a.reviewFile, committed.failure());
    }
    if (!a.quiet) {
        for (const std::string& written : result.modules) {
            if (written != "-") ftvb::console::printError({Shown(written).text(), "\n"});
        }
    }
    if (!a.quiet || !result.skipped.empty()) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, result.lines).ptr;
        ftvb::console::printError({std::string_view(digits, static_cast<std::size_t>(end - digits)), " lines\n"});
    }
    return result.skipped.empty() ? 0 : 1;
}

}  // namespace
