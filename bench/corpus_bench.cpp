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
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string convert;
    std::string corpus;
    std::string work;
    std::string f2c;
    std::string window;
    std::string reference;
    int runs = 5;
};

// The targets, in one place so that the summary and the README agree.
constexpr double kMinTimesF2c = 30.0;       // ftvb lines/s over f2c lines/s
constexpr double kMaxTimesCat = 7.0;        // ftvb time over cat time
constexpr double kMinTimesReference = 2.0;  // ftvb lines/s over the reference build's
constexpr double kMaxRssMiB = 8.0;
constexpr double kMinPathoShare = 0.1;  // of the corpus bytes per second
constexpr double kMaxWindowRatio = 1.5;
constexpr double kMaxReviewRatio = 1.2;     // --review's time over the plain run's
constexpr double kMaxFinishRatio = 3.0;     // --finish's time over the plain run's
constexpr double kMinFinishOverF2c = 10.0;  // --finish's lines per second over f2c's
// The window opening a folder of this many files, against an empty folder.
constexpr int kFolderFiles = 100'000;
constexpr double kMaxFolderRatio = 8.0;
// ftvb-window-bench's exit status when there is no Xvfb to run it on.
constexpr int kNoXvfb = 77;
// "Memory does not grow": beyond what the longer list of names itself
// costs, eight times the list may take this much more than once, to absorb
// allocator and page-rounding noise, and no more.
constexpr double kRssGrowthSlackKiB = 256.0;

// A run that takes this long is taken to be stuck; the row reports it.
constexpr double kCorpusTimeoutSeconds = 600.0;
constexpr double kPathoTimeoutSeconds = 120.0;

[[noreturn]] void die(const std::string& message) {
    std::fprintf(stderr, "ftvb-corpus-bench: %s\n", message.c_str());
    std::exit(2);
}

double now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

std::string absolute(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) die("getcwd failed");
    return std::string(cwd) + "/" + path;
}

// ---- running a command -------------------------------------------------------

// A forked child's peak RSS starts at its parent's RSS at the fork, so this
// driver's own memory would show up in every figure. GNU time forks the
// command from a process of about 1 MiB and reports the command's own peak.
constexpr const char* kTimeProgram = "/usr/bin/time";

struct RunOutcome {
    double seconds = 0;
    double cpuSeconds = 0;  // user + system, the command's and its children's
    long maxRssKiB = 0;
    int exitCode = 0;  // 128+signal when killed
    bool timedOut = false;
};

long readRssKiB(const std::string& path) {
    // GNU time puts "Command exited with non-zero status N" before the
    // figure when the command fails: the figure is the last line.
    std::ifstream f(path);
    std::string line;
    long kib = 0;
    while (std::getline(f, line)) {
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) kib = std::atol(line.c_str());
    }
    return kib;
}

double seconds(const timeval& tv) { return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) * 1e-6; }

// Runs argv with stdout and stderr sent to the given files; stops it (its
// whole process group) with SIGKILL after `timeout` seconds. SIGCHLD is
// blocked and awaited with sigtimedwait so that the wait adds no polling
// delay to the time.
RunOutcome runOnce(const std::vector<std::string>& argv, const std::string& out, const std::string& err, double timeout,
                   const std::string& rssFile, const std::string& cwd) {
    sigset_t chld;
    sigset_t old;
    sigemptyset(&chld);
    sigaddset(&chld, SIGCHLD);
    sigprocmask(SIG_BLOCK, &chld, &old);

    std::vector<std::string> full;
    if (!rssFile.empty()) full = {kTimeProgram, "-f", "%M", "-o", rssFile};
    full.insert(full.end(), argv.begin(), argv.end());
    std::vector<char*> args;
    for (const std::string& a : full) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    // Flush what earlier commands wrote (f2c leaves thousands of files):
    // otherwise the kernel throttles this command's own writes while it
    // catches up, and charges that writeback to it.
    sync();

    RunOutcome r;
    const double start = now();
    const pid_t pid = fork();
    if (pid < 0) die(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        setpgid(0, 0);
        sigprocmask(SIG_SETMASK, &old, nullptr);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (o < 0 || e < 0) _exit(126);
        dup2(o, 1);
        dup2(e, 2);
        close(o);
        close(e);
        execv(args[0], args.data());
        _exit(127);
    }
    setpgid(pid, pid);

    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid) break;
        const double left = timeout - (now() - start);
        if (left <= 0) {
            kill(-pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            r.timedOut = true;
            break;
        }
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(left);
        ts.tv_nsec = static_cast<long>((left - static_cast<double>(ts.tv_sec)) * 1e9);
        sigtimedwait(&chld, nullptr, &ts);
    }
    r.seconds = now() - start;
    sigprocmask(SIG_SETMASK, &old, nullptr);
    r.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    r.maxRssKiB = rssFile.empty() ? usage.ru_maxrss : readRssKiB(rssFile);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

struct Measure {
    std::string label;
    double median = 0;     // wall seconds
    double cpuMedian = 0;  // user + system seconds
    double spread = 0;     // (max - min) / median
    long maxRssKiB = 0;
    int exitCode = 0;
    bool timedOut = false;
    int runs = 0;
    std::optional<double> reportedMedian;  // of the times the command printed
};

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::optional<double> lastNumber(const std::string& path) {
    std::ifstream f(path);
    std::string word;
    std::optional<double> last;
    while (f >> word) {
        char* end = nullptr;
        const double v = std::strtod(word.c_str(), &end);
        if (end != word.c_str() && std::isfinite(v)) last = v;
    }
    return last;
}

// The commands to time. They run in rounds, each command once per round, so
// that a burst of load from elsewhere on the machine falls on every command
// alike instead of on whichever happened to be running; the ratios between
// them are what the targets judge.
class Rounds {
public:
    explicit Rounds(const Options& o)
        : err_(o.work + "/stderr.log"), rssFile_(access(kTimeProgram, X_OK) == 0 ? o.work + "/maxrss.txt" : "") {}

    // `out` receives the command's standard output; when `reportsSeconds`,
    // the last number it prints is collected as its own time for the run.
    std::size_t add(const std::string& label, std::vector<std::string> argv, double timeout,
                    std::string out = "/dev/null", bool reportsSeconds = false, std::string cwd = "") {
        jobs_.push_back(
            {label, std::move(argv), timeout, std::move(out), reportsSeconds, std::move(cwd), {}, {}, {}, {}});
        jobs_.back().result.label = label;
        return jobs_.size() - 1;
    }

    // Round 0 warms the page cache and is not counted. A command that times
    // out is not run again: its one time stands for it.
    void run(int runs) {
        for (int round = 0; round <= runs; ++round) {
            std::fprintf(stderr, "  round %d of %d%s:", round, runs, round == 0 ? " (warm-up)" : "");
            for (Job& j : jobs_) {
                Measure& m = j.result;
                if (m.timedOut) continue;
                const RunOutcome r = runOnce(j.argv, j.out, err_, j.timeout, rssFile_, j.cwd);
                m.maxRssKiB = std::max(m.maxRssKiB, r.maxRssKiB);
                if (r.exitCode != 0) m.exitCode = r.exitCode;
                if (r.timedOut) {
                    m.timedOut = true;
                    j.times.assign(1, r.seconds);
                    j.cpu.assign(1, r.cpuSeconds);
                } else if (round > 0) {
                    j.times.push_back(r.seconds);
                    j.cpu.push_back(r.cpuSeconds);
                    if (j.reportsSeconds) {
                        if (const auto v = lastNumber(j.out)) j.reported.push_back(*v);
                    }
                }
                std::fputc(r.timedOut ? 'T' : '.', stderr);
                std::fflush(stderr);
            }
            std::fputc('\n', stderr);
        }
        for (Job& j : jobs_) {
            Measure& m = j.result;
            m.runs = static_cast<int>(j.times.size());
            if (j.times.empty()) continue;
            m.median = medianOf(j.times);
            m.cpuMedian = medianOf(j.cpu);
            const auto [lo, hi] = std::minmax_element(j.times.begin(), j.times.end());
            m.spread = m.median > 0 ? (*hi - *lo) / m.median : 0;
            if (!j.reported.empty()) m.reportedMedian = medianOf(j.reported);
        }
    }

    const Measure& operator[](std::size_t i) const { return jobs_[i].result; }

private:
    struct Job {
        std::string label;
        std::vector<std::string> argv;
        double timeout;
        std::string out;
        bool reportsSeconds;
        std::string cwd;
        std::vector<double> reported;
        std::vector<double> times;
        std::vector<double> cpu;
        Measure result;
    };
    std::vector<Job> jobs_;
    std::string err_;
    std::string rssFile_;
};

// ---- the file list -----------------------------------------------------------

std::vector<std::string> fortranFiles(const std::string& corpus, const std::string& folder) {
    std::vector<std::string> names;
    DIR* d = opendir((corpus + "/" + folder).c_str());
    if (!d) die("cannot open " + corpus + "/" + folder + ": " + std::strerror(errno));
    while (const dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() > 2 && name.compare(name.size() - 2, 2, ".f") == 0) names.push_back(folder + "/" + name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

struct Totals {
    long long files = 0;
    long long lines = 0;
    long long bytes = 0;
};

Totals count(const std::vector<std::string>& files) {
    Totals t;
    std::vector<char> buf(1 << 16);
    for (const std::string& f : files) {
        const int fd = open(f.c_str(), O_RDONLY);
        if (fd < 0) die("cannot read " + f);
        ssize_t n;
        while ((n = read(fd, buf.data(), buf.size())) > 0) {
            t.bytes += n;
            t.lines += std::count(buf.begin(), buf.begin() + n, '\n');
        }
        close(fd);
        ++t.files;
    }
    return t;
}

std::vector<std::string> repeated(const std::vector<std::string>& files, int times) {
    std::vector<std::string> all;
    for (int i = 0; i < times; ++i) all.insert(all.end(), files.begin(), files.end());
    return all;
}

std::vector<std::string> concat(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// An empty file under `root` for each name of the list, folders included.
// The folders that hold `file` (a relative name) under `root`.
void makeFoldersFor(const std::string& root, const std::string& file) {
    mkdir(root.c_str(), 0755);
    for (std::size_t slash = file.find('/'); slash != std::string::npos; slash = file.find('/', slash + 1)) {
        mkdir((root + "/" + file.substr(0, slash)).c_str(), 0755);
    }
}

void makeEmptyMirror(const std::vector<std::string>& files, const std::string& root) {
    for (const std::string& f : files) {
        makeFoldersFor(root, f);
        std::ofstream(root + "/" + f, std::ios::trunc);
    }
}

// The same files with their "*" comment lines written as "c" lines, which
// the rules take for comments: most of LAPACK's list of places to look at
// is its 407,811 "*" lines, and without them what is measured is the
// checklist itself rather than the writing of their entries.
void makeStarlessMirror(const std::vector<std::string>& files, const std::string& root) {
    for (const std::string& f : files) {
        makeFoldersFor(root, f);
        std::ifstream in(f, std::ios::binary);
        std::ofstream out(root + "/" + f, std::ios::binary | std::ios::trunc);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] == '*') line[0] = 'c';
            out << line << '\n';
        }
    }
}

// A folder of `count` empty files named f000000.for and on, made once: the
// hidden marker is written last.
std::string makeFolderOfFiles(const std::string& path, int count) {
    const std::string marker = path + "/.complete";
    if (access(marker.c_str(), F_OK) == 0) return path;
    mkdir(path.c_str(), 0755);
    char name[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "/f%06d.for", i);
        std::ofstream(path + name, std::ios::trunc);
    }
    std::ofstream(marker, std::ios::trunc);
    return path;
}

// ---- inputs built to defeat a linear engine ----------------------------------

constexpr long long kTenMB = 10'000'000;

struct Pathological {
    std::string name;
    std::string what;
    std::string path;
    long long bytes = 0;
    long long lines = 0;
};

// A fixed-form line: `prefix` (columns 1-6) and a statement field filled out
// to column 72 with as many whole copies of `piece` as fit.
std::string fieldLine(const std::string& prefix, const std::string& piece, std::size_t* copies = nullptr) {
    std::string line = prefix;
    std::size_t n = 0;
    while (line.size() + piece.size() <= 72) {
        line += piece;
        ++n;
    }
    if (copies) *copies = n;
    return line + "\n";
}

// Streams a generated file to disk, so that this driver stays small (its
// size would otherwise weigh on every process it forks afterwards).
class GeneratedFile {
public:
    GeneratedFile(std::string path, std::string name, std::string what)
        : file_(path, std::ios::binary | std::ios::trunc), p_{std::move(name), std::move(what), std::move(path)} {}

    void add(const std::string& text) {
        file_ << text;
        p_.bytes += static_cast<long long>(text.size());
        p_.lines += std::count(text.begin(), text.end(), '\n');
    }
    long long bytes() const { return p_.bytes; }

    Pathological close() {
        file_.close();
        if (!file_) die("cannot write " + p_.path);
        return p_;
    }

private:
    std::ofstream file_;
    Pathological p_;
};

std::vector<Pathological> makePathological(const std::string& dir) {
    std::vector<Pathological> all;
    {
        // Operators, parentheses and commas, so that every rewriting stage
        // has work to do on the one huge statement.
        GeneratedFile f(dir + "/continued.f", "continuation lines",
                        "10 MB, one statement: every line after the first continues it");
        f.add("      x = y\n");
        const std::string line = fieldLine("     &", " + a(i,j)*b(j,k) - c(k)/d .and. e.gt.f**2");
        while (f.bytes() + static_cast<long long>(line.size()) <= kTenMB) f.add(line);
        all.push_back(f.close());
    }
    {
        GeneratedFile f(dir + "/one_line.f", "one 10 MB line", "a single line of 10 MB");
        f.add("      x = ");
        std::string chunk;
        while (chunk.size() < 65536) chunk += "a(i,j)*b - c/d + e**2 ";
        while (f.bytes() + static_cast<long long>(chunk.size()) < kTenMB) f.add(chunk);
        f.add(chunk.substr(0, static_cast<std::size_t>(kTenMB - 1 - f.bytes())) + "\n");
        all.push_back(f.close());
    }
    {
        GeneratedFile f(dir + "/blank_lines.f", "blank lines", "1,000,000 empty lines");
        const std::string chunk(1000, '\n');
        for (int i = 0; i < 1000; ++i) f.add(chunk);
        all.push_back(f.close());
    }
    {
        constexpr std::size_t kSubstrings = 10'000;
        GeneratedFile f(dir + "/substrings.f", "10,000 substrings",
                        "one statement of 10,000 \"a(i:j)\" separated by blanks, on continuation lines");
        f.add("      s =\n");
        std::size_t written = 0;
        while (written < kSubstrings) {
            std::size_t fit = 0;
            std::string line = fieldLine("     &", " a(i:j)", &fit);
            if (written + fit > kSubstrings) {
                fit = kSubstrings - written;
                line = "     &";
                for (std::size_t i = 0; i < fit; ++i) line += " a(i:j)";
                line += "\n";
            }
            f.add(line);
            written += fit;
        }
        all.push_back(f.close());
    }
    return all;
}

// ---- the report ----------------------------------------------------------------

std::string withCommas(long long v) {
    const std::string digits = std::to_string(v);
    std::string s;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) s += ',';
        s += digits[i];
    }
    return s;
}

std::string mib(long kib) {
    char b[32];
    std::snprintf(b, sizeof b, "%.1f MiB", static_cast<double>(kib) / 1024.0);
    return b;
}

std::string status(const Measure& m) {
    if (m.timedOut) return "TIMED OUT";
    if (m.exitCode != 0) return "exit " + std::to_string(m.exitCode);
    return "";
}

void throughputRow(const Measure& m, const Totals& t, bool showRss) {
    const double s = m.median;
    std::printf("  %-18s %8.3f s %8.3f s %10.0f %8.1f   ±%2.0f%%", m.label.c_str(), s, m.cpuMedian,
                static_cast<double>(t.lines) / s, static_cast<double>(t.bytes) / 1e6 / s, m.spread * 50);
    if (showRss) std::printf(" %10s", mib(m.maxRssKiB).c_str());
    const std::string st = status(m);
    if (!st.empty()) std::printf("  [%s]", st.c_str());
    std::printf("\n");
}

struct Verdict {
    std::string target;
    std::string figure;
    std::optional<bool> pass;     // nullopt: not measured
    std::optional<bool> cpuPass;  // the same target judged on CPU time, where it applies
};

std::string loadAverage() {
    std::ifstream f("/proc/loadavg");
    std::string a, b, c;
    f >> a >> b >> c;
    return a + " " + b + " " + c;
}

bool sameContents(const std::string& a, const std::string& b) {
    std::ifstream fa(a, std::ios::binary);
    std::ifstream fb(b, std::ios::binary);
    if (!fa || !fb) return false;
    std::istreambuf_iterator<char> ia(fa), ib(fb), end;
    return std::equal(ia, end, ib, end);
}

// The last line of a text file, as the summary of a review list is.
std::string lastLine(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    std::string line;
    std::string last = "(none)";
    while (std::getline(f, line)) last = line;
    return last;
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
    const std::string pathoDir = o.work + "/pathological";
    const std::string f2cDir = o.work + "/f2c";
    mkdir(pathoDir.c_str(), 0755);
    mkdir(f2cDir.c_str(), 0755);
    // Every command's standard error, kept for one invocation.
    { std::ofstream(o.work + "/stderr.log", std::ios::trunc); }
    // Relative names keep the command lines of the four-fold list short.
    if (chdir(o.corpus.c_str()) != 0) die("cannot enter " + o.corpus);

    const std::vector<std::string> files = concat(fortranFiles(".", "SRC"), fortranFiles(".", "BLAS/SRC"));
    if (files.empty()) die("no .f files under " + o.corpus);
    const Totals once = count(files);
    const std::string module = o.work + "/corpus.bas";
    const std::string convert = o.convert;

    std::printf("Corpus: %s files, %s lines, %.1f MB (SRC/*.f and BLAS/SRC/*.f)\n", withCommas(once.files).c_str(),
                withCommas(once.lines).c_str(), static_cast<double>(once.bytes) / 1e6);
    std::printf("Each time is the median of %d runs after one untimed warm-up run%s.\n\n", o.runs,
                o.runs < 5 ? " (fewer than 5: not figures to quote)" : "");

    auto ftvbArgs = [&](const std::vector<std::string>& list, const std::string& out) {
        return concat({convert, "-q", "-o", out}, list);
    };
    auto catArgs = [&](const std::vector<std::string>& list) { return concat({"/bin/cat"}, list); };

    Rounds rounds(o);
    const std::size_t catJob1 = rounds.add("cat x1", catArgs(files), kCorpusTimeoutSeconds);
    const std::size_t ftvbJob1 = rounds.add("ftvb-convert x1", ftvbArgs(files, module), kCorpusTimeoutSeconds);
    // The same run asked for its list of places to look at, written to a file.
    const std::string reviewModule = o.work + "/corpus-reviewed.bas";
    const std::size_t reviewJob =
        rounds.add("ftvb-convert --review x1",
                   concat({convert, "-q", "-o", reviewModule, "--review=" + o.work + "/corpus.review"}, files),
                   kCorpusTimeoutSeconds);
    // The finisher on the same files: its own modules, split as VBA needs.
    const std::size_t finishJob =
        rounds.add("ftvb-convert --finish x1",
                   concat({convert, "-q", "--finish", "-o", o.work + "/finished.bas"}, files), kCorpusTimeoutSeconds);
    std::optional<std::size_t> f2cJob;
    // f2c reports what it cannot translate (the Fortran 90 parts of LAPACK)
    // and goes on to the next unit, so its exit status says nothing about how
    // much it translated and is not checked.
    if (!o.f2c.empty()) f2cJob = rounds.add("f2c", concat({o.f2c, "-d" + f2cDir}, files), kCorpusTimeoutSeconds);
    const std::size_t catJob2 = rounds.add("cat x2", catArgs(repeated(files, 2)), kCorpusTimeoutSeconds);
    const std::size_t ftvbJob2 =
        rounds.add("ftvb-convert x2", ftvbArgs(repeated(files, 2), o.work + "/corpus_x2.bas"), kCorpusTimeoutSeconds);
    const std::size_t catJob4 = rounds.add("cat x4", catArgs(repeated(files, 4)), kCorpusTimeoutSeconds);
    const std::size_t ftvbJob4 =
        rounds.add("ftvb-convert x4", ftvbArgs(repeated(files, 4), o.work + "/corpus_x4.bas"), kCorpusTimeoutSeconds);
    const std::size_t catJob8 = rounds.add("cat x8", catArgs(repeated(files, 8)), kCorpusTimeoutSeconds);
    const std::size_t ftvbJob8 =
        rounds.add("ftvb-convert x8", ftvbArgs(repeated(files, 8), o.work + "/corpus_x8.bas"), kCorpusTimeoutSeconds);
    // The build before a change, on the same list in the same rounds.
    std::optional<std::size_t> referenceJob;
    if (!o.reference.empty()) {
        referenceJob = rounds.add("reference x1", concat({o.reference, "-q", "-o", o.work + "/reference.bas"}, files),
                                  kCorpusTimeoutSeconds);
    }

    const std::string starless = o.work + "/starless";
    makeStarlessMirror(files, starless);
    const std::size_t starlessJob =
        rounds.add("ftvb-convert, \"c\" comments", ftvbArgs(files, o.work + "/starless.bas"), kCorpusTimeoutSeconds,
                   "/dev/null", false, starless);
    const std::size_t starlessReviewJob = rounds.add(
        "--review, \"c\" comments",
        concat({convert, "-q", "-o", o.work + "/starless-reviewed.bas", "--review=" + o.work + "/starless.review"},
               files),
        kCorpusTimeoutSeconds, "/dev/null", false, starless);

    // The same names over empty files: what the list of names alone costs
    // in memory, so that growth with the data can be told from growth with
    // the number of names.
    const std::string empties = o.work + "/empty-names";
    makeEmptyMirror(files, empties);
    const std::size_t namesJob1 = rounds.add("names only x1", ftvbArgs(files, o.work + "/names_x1.bas"),
                                             kCorpusTimeoutSeconds, "/dev/null", false, empties);
    const std::size_t namesJob8 = rounds.add("names only x8", ftvbArgs(repeated(files, 8), o.work + "/names_x8.bas"),
                                             kCorpusTimeoutSeconds, "/dev/null", false, empties);

    // What a run costs whatever its input (start-up, the module's temporary
    // file, fsync and rename): small inputs are judged net of it.
    const std::string emptyFile = pathoDir + "/empty.f";
    { std::ofstream(emptyFile, std::ios::trunc); }
    const std::size_t fixedJob =
        rounds.add("ftvb-convert empty file", ftvbArgs({emptyFile}, pathoDir + "/out.bas"), kPathoTimeoutSeconds);
    const std::vector<Pathological> patho = makePathological(pathoDir);
    std::vector<std::size_t> pathoJobs;
    std::vector<std::size_t> pathoReferenceJobs;
    for (const Pathological& p : patho) {
        pathoJobs.push_back(
            rounds.add("ftvb-convert " + p.name, ftvbArgs({p.path}, pathoDir + "/out.bas"), kPathoTimeoutSeconds));
        if (!o.reference.empty()) {
            pathoReferenceJobs.push_back(rounds.add("reference " + p.name,
                                                    {o.reference, "-q", "-o", pathoDir + "/reference.bas", p.path},
                                                    kPathoTimeoutSeconds));
        }
    }
    const std::string windowOut = o.work + "/window.out";
    const std::string windowModule = o.work + "/window.bas";
    std::optional<std::size_t> windowJob;
    // The window opening a folder of many files as a desktop shows it
    // (under Xvfb), against the same on an empty folder.
    std::optional<std::size_t> manyFilesJob;
    std::optional<std::size_t> noFilesJob;
    if (!o.window.empty()) {
        windowJob = rounds.add("ftvb-window-bench x1", concat({o.window, "-o", windowModule}, files),
                               kCorpusTimeoutSeconds, windowOut, true);
        const std::string none = o.work + "/folder-empty";
        mkdir(none.c_str(), 0755);
        const std::string many = makeFolderOfFiles(o.work + "/folder-100000", kFolderFiles);
        noFilesJob = rounds.add("window, empty folder", {o.window, "--folder", none}, kPathoTimeoutSeconds,
                                o.work + "/folder-empty.out", true);
        manyFilesJob = rounds.add("window, 100,000 files", {o.window, "--folder", many}, kPathoTimeoutSeconds,
                                  o.work + "/folder-100000.out", true);
    }

    const std::string loadBefore = loadAverage();
    std::fprintf(stderr, "Timing: one warm-up round, then %d rounds\n", o.runs);
    rounds.run(o.runs);
    const std::string loadAfter = loadAverage();

    const Measure& cat1 = rounds[catJob1];
    const Measure& ftvb1 = rounds[ftvbJob1];
    const Measure& cat2 = rounds[catJob2];
    const Measure& ftvb2 = rounds[ftvbJob2];
    const Measure& cat4 = rounds[catJob4];
    const Measure& ftvb4 = rounds[ftvbJob4];
    const Measure& cat8 = rounds[catJob8];
    const Measure& ftvb8 = rounds[ftvbJob8];
    const Measure& fixed = rounds[fixedJob];
    const Measure& reviewed = rounds[reviewJob];
    const Measure& finished = rounds[finishJob];
    const Measure& starlessPlain = rounds[starlessJob];
    const Measure& starlessReviewed = rounds[starlessReviewJob];
    const double starlessRatio = starlessReviewed.median / starlessPlain.median;
    const double starlessRatioCpu = starlessReviewed.cpuMedian / starlessPlain.cpuMedian;
    const bool reviewSame = sameContents(module, reviewModule);
    const Measure& names1 = rounds[namesJob1];
    const Measure& names8 = rounds[namesJob8];
    std::optional<Measure> f2c;
    if (f2cJob) {
        f2c = rounds[*f2cJob];
        f2c->exitCode = 0;
    }
    std::vector<Measure> pathoRuns;
    for (std::size_t j : pathoJobs) pathoRuns.push_back(rounds[j]);
    std::vector<Measure> pathoReferenceRuns;
    for (std::size_t j : pathoReferenceJobs) pathoReferenceRuns.push_back(rounds[j]);
    std::optional<Measure> reference;
    bool referenceSame = false;
    if (referenceJob) {
        reference = rounds[*referenceJob];
        referenceSame = sameContents(module, o.work + "/reference.bas");
    }
    std::optional<Measure> window;
    std::optional<double> windowSeconds;
    bool windowSame = false;
    if (windowJob) {
        window = rounds[*windowJob];
        windowSeconds = window->reportedMedian;
        windowSame = sameContents(module, windowModule);
    }

    std::printf("Load average (1, 5, 15 min) before: %s; after: %s\n", loadBefore.c_str(), loadAfter.c_str());
    // ftvb-convert is one CPU-bound thread: when its wall time runs well past
    // its CPU time, something else had the CPU.
    const double busy = ftvb1.median / std::max(ftvb1.cpuMedian, 1e-6);
    if (busy > 1.15) {
        std::printf(
            "WARNING: the machine was busy: ftvb-convert's wall time is %.0f%% over its CPU time;\n"
            "         the wall-time figures below are noisy (the cpu column is steadier).\n",
            (busy - 1) * 100);
    }
    std::printf("\n");

    // ---- tables ----
    std::printf("Corpus (± is half the spread between the fastest and the slowest run)\n");
    std::printf("  %-18s %10s %10s %10s %8s %6s %10s\n", "", "wall", "cpu", "lines/s", "MB/s", "", "peak RSS");
    throughputRow(cat1, once, false);
    throughputRow(ftvb1, once, true);
    if (f2c)
        throughputRow(*f2c, once, true);
    else
        std::printf("  f2c                skipped: f2c not installed\n");
    throughputRow(reviewed, once, true);
    if (reference) throughputRow(*reference, once, true);
    std::printf("\n");
    const double ftvbOverCat = ftvb1.median / cat1.median;
    const double ftvbOverCatCpu = ftvb1.cpuMedian / cat1.cpuMedian;
    std::printf("  ftvb/cat  %6.2f  (cpu %5.2f)  ftvb-convert's time over cat's on the same files\n", ftvbOverCat,
                ftvbOverCatCpu);
    std::optional<double> f2cOverFtvb;
    std::optional<double> f2cOverFtvbCpu;
    if (f2c) {
        f2cOverFtvb = f2c->median / ftvb1.median;
        f2cOverFtvbCpu = f2c->cpuMedian / ftvb1.cpuMedian;
        std::printf("  f2c/ftvb  %6.2f  (cpu %5.2f)  f2c's time over ftvb-convert's: ftvb's lines/s over f2c's\n",
                    *f2cOverFtvb, *f2cOverFtvbCpu);
        std::printf(
            "            (f2c writes one .c file per program unit into a temporary folder and\n"
            "             reports, then skips, what it cannot translate; see stderr.log)\n");
    }
    const double reviewOverFtvb = reviewed.median / ftvb1.median;
    const double reviewOverFtvbCpu = reviewed.cpuMedian / ftvb1.cpuMedian;
    std::printf("  review    %6.2f  (cpu %5.2f)  ftvb-convert --review=FILE's time over the plain run's; module %s\n",
                reviewOverFtvb, reviewOverFtvbCpu, reviewSame ? "identical" : "DIFFERS");
    std::printf("            (the list: %s)\n", lastLine(o.work + "/corpus.review").c_str());
    std::printf(
        "  review    %6.2f  (cpu %5.2f)  the same on the files with their \"*\" comment lines written as \"c\"\n",
        starlessRatio, starlessRatioCpu);
    std::printf("            (the list: %s)\n", lastLine(o.work + "/starless.review").c_str());
    std::optional<double> referenceOverFtvb;
    std::optional<double> referenceOverFtvbCpu;
    if (reference) {
        referenceOverFtvb = reference->median / ftvb1.median;
        referenceOverFtvbCpu = reference->cpuMedian / ftvb1.cpuMedian;
        std::printf("  ref/ftvb  %6.2f  (cpu %5.2f)  the reference build's time over ftvb-convert's; module %s\n",
                    *referenceOverFtvb, *referenceOverFtvbCpu, referenceSame ? "identical" : "DIFFERS");
    }

    std::printf("\nScaling: the list once, twice, four and eight times over\n");
    std::printf("  %-6s %10s %10s %10s %12s %12s %12s\n", "", "cat", "ftvb", "ftvb/cat", "ftvb vs x1", "(cpu)",
                "peak RSS");
    const Measure* cats[] = {&cat1, &cat2, &cat4, &cat8};
    const Measure* ftvbs[] = {&ftvb1, &ftvb2, &ftvb4, &ftvb8};
    const int factor[] = {1, 2, 4, 8};
    for (int i = 0; i < 4; ++i) {
        std::printf("  x%-5d %8.3f s %8.3f s %10.2f %11.2fx %11.2fx %12s %s\n", factor[i], cats[i]->median,
                    ftvbs[i]->median, ftvbs[i]->median / cats[i]->median, ftvbs[i]->median / ftvb1.median,
                    ftvbs[i]->cpuMedian / ftvb1.cpuMedian, mib(ftvbs[i]->maxRssKiB).c_str(), status(*ftvbs[i]).c_str());
    }
    std::printf("  (linear time reads 1, 2, 4, 8 in \"ftvb vs x1\"; streaming, one figure for peak RSS)\n");
    const long nameGrowth = names8.maxRssKiB - names1.maxRssKiB;
    const long dataGrowth = (ftvb8.maxRssKiB - ftvb1.maxRssKiB) - nameGrowth;
    std::printf(
        "  The same names over empty files: peak RSS %s (x1), %s (x8); the list of names costs\n"
        "  about %.0f bytes per name, and growth beyond it from x1 to x8 is %+ld KiB.\n",
        mib(names1.maxRssKiB).c_str(), mib(names8.maxRssKiB).c_str(),
        static_cast<double>(nameGrowth) * 1024.0 / static_cast<double>(files.size() * 7), dataGrowth);

    // Shares of the corpus's bytes per second, gross and net of the fixed
    // cost of a run.
    const double fixedSeconds = fixed.median;
    auto netSeconds = [&](double s) { return std::max(s - fixedSeconds, 1e-4); };
    const double corpusBps = static_cast<double>(once.bytes) / ftvb1.median;
    const double corpusNetBps = static_cast<double>(once.bytes) / netSeconds(ftvb1.median);
    // The same net share on CPU time, which load from elsewhere barely moves.
    auto netCpu = [&](double s) { return std::max(s - fixed.cpuMedian, 1e-4); };
    const double corpusNetCpuBps = static_cast<double>(once.bytes) / netCpu(ftvb1.cpuMedian);
    std::vector<double> grossShare;
    std::vector<double> netShare;
    std::vector<double> netCpuShare;
    std::printf(
        "\nPathological inputs (share: bytes per second over the corpus's %.1f MB/s, gross and net\n"
        "of the fixed cost of a run, %.1f ms: ftvb-convert on an empty file)\n",
        corpusBps / 1e6, fixedSeconds * 1e3);
    std::printf("  %-20s %12s %10s %9s %9s %9s %7s %7s %7s %10s %9s\n", "", "bytes", "lines", "wall", "cpu", "MB/s",
                "gross", "net", "net cpu", "peak RSS", "ref/this");
    for (std::size_t i = 0; i < patho.size(); ++i) {
        const Pathological& p = patho[i];
        const Measure& m = pathoRuns[i];
        const double bytes = static_cast<double>(p.bytes);
        grossShare.push_back(bytes / m.median / corpusBps);
        netShare.push_back(bytes / netSeconds(m.median) / corpusNetBps);
        netCpuShare.push_back(bytes / netCpu(m.cpuMedian) / corpusNetCpuBps);
        char vsReference[32] = "";
        if (i < pathoReferenceRuns.size()) {
            std::snprintf(vsReference, sizeof vsReference, "%.2f", pathoReferenceRuns[i].median / m.median);
        }
        std::printf("  %-20s %12s %10s %7.3f s %7.3f s %9.2f %7.3f %7.3f %7.3f %10s %9s %s\n", p.name.c_str(),
                    withCommas(p.bytes).c_str(), withCommas(p.lines).c_str(), m.median, m.cpuMedian,
                    bytes / 1e6 / m.median, grossShare.back(), netShare.back(), netCpuShare.back(),
                    mib(m.maxRssKiB).c_str(), vsReference, status(m).c_str());
    }
    for (const Pathological& p : patho) std::printf("    %-20s %s\n", p.name.c_str(), p.what.c_str());

    std::printf("\nWindow\n");
    std::optional<double> windowRatio;
    if (window) {
        const double seconds = windowSeconds.value_or(window->median);
        // The window writes the list of places beside its module as well.
        windowRatio = seconds / reviewed.median;
        std::printf("  ftvb-window-bench: %.3f s as it reports (process %.3f s); module %s ftvb-convert's\n", seconds,
                    window->median, windowSame ? "identical to" : "DIFFERS from");
        std::printf(
            "  window/ftvb-convert %6.2f  (process cpu %.3f s against ftvb-convert --review's %.3f s; both write the\n"
            "                              module and the list of places to look at) %s\n",
            *windowRatio, window->cpuMedian, reviewed.cpuMedian, status(*window).c_str());
    } else {
        std::printf("  window/ftvb-convert row skipped: no ftvb-window-bench in the bench build\n");
    }
    std::optional<double> folderRatio;
    std::optional<Measure> manyFiles;
    if (manyFilesJob && rounds[*manyFilesJob].exitCode == kNoXvfb) {
        std::printf("  folder rows skipped: Xvfb is not installed (Debian package xvfb)\n");
    } else if (manyFilesJob) {
        manyFiles = rounds[*manyFilesJob];
        const Measure& noFiles = rounds[*noFilesJob];
        const double manySeconds = manyFiles->reportedMedian.value_or(manyFiles->median);
        const double noSeconds = noFiles.reportedMedian.value_or(noFiles.median);
        folderRatio = manySeconds / noSeconds;
        std::printf(
            "  opening, under Xvfb, a folder of %s files: %.3f s; an empty folder: %.3f s, as it reports\n"
            "  (shown, source list filled, the folder closed and opened again in the tree)\n",
            withCommas(kFolderFiles).c_str(), manySeconds, noSeconds);
        std::printf("  100,000 files/empty folder %6.2f  (process cpu %.3f s against %.3f s) %s\n", *folderRatio,
                    manyFiles->cpuMedian, noFiles.cpuMedian, status(*manyFiles).c_str());
    }

    // ---- summary ----
    std::vector<Verdict> verdicts;
    char fig[160];
    auto ok = [](const Measure& m) { return !m.timedOut && m.exitCode == 0; };
    if (f2cOverFtvb) {
        std::snprintf(fig, sizeof fig, "%.2fx (cpu %.2fx)", *f2cOverFtvb, *f2cOverFtvbCpu);
        verdicts.push_back({"ftvb-convert >= 30x f2c's lines per second", fig,
                            ok(ftvb1) && *f2cOverFtvb >= kMinTimesF2c, *f2cOverFtvbCpu >= kMinTimesF2c});
    } else {
        verdicts.push_back(
            {"ftvb-convert >= 30x f2c's lines per second", "f2c not installed", std::nullopt, std::nullopt});
    }
    if (referenceOverFtvb) {
        std::snprintf(fig, sizeof fig, "%.2fx (cpu %.2fx)%s", *referenceOverFtvb, *referenceOverFtvbCpu,
                      referenceSame ? "" : ", module differs");
        verdicts.push_back({"ftvb-convert >= 2x the reference's lines per second", fig,
                            ok(ftvb1) && referenceSame && *referenceOverFtvb >= kMinTimesReference,
                            *referenceOverFtvbCpu >= kMinTimesReference});
        for (std::size_t i = 0; i < pathoReferenceRuns.size(); ++i) {
            const double vs = pathoReferenceRuns[i].median / pathoRuns[i].median;
            const double vsCpu = pathoReferenceRuns[i].cpuMedian / std::max(pathoRuns[i].cpuMedian, 1e-6);
            std::snprintf(fig, sizeof fig, "%.2fx (cpu %.2fx)", vs, vsCpu);
            verdicts.push_back(
                {patho[i].name + " no slower than the reference", fig, ok(pathoRuns[i]) && vs >= 1.0, vsCpu >= 1.0});
        }
    } else {
        verdicts.push_back({"ftvb-convert >= 2x the reference's lines per second", "no reference build given",
                            std::nullopt, std::nullopt});
    }
    std::snprintf(fig, sizeof fig, "%.2fx (cpu %.2fx)%s", reviewOverFtvb, reviewOverFtvbCpu,
                  reviewSame ? "" : ", module differs");
    verdicts.push_back({"ftvb-convert --review <= 1.2x the plain run", fig,
                        ok(reviewed) && reviewSame && reviewOverFtvb <= kMaxReviewRatio,
                        reviewOverFtvbCpu <= kMaxReviewRatio});
    {
        const double finishOverFtvb = finished.median / ftvb1.median;
        const double finishOverFtvbCpu = finished.cpuMedian / ftvb1.cpuMedian;
        std::snprintf(fig, sizeof fig, "%.2fx (cpu %.2fx)", finishOverFtvb, finishOverFtvbCpu);
        verdicts.push_back({"ftvb-convert --finish <= 3x the plain run", fig,
                            ok(finished) && finishOverFtvb <= kMaxFinishRatio, finishOverFtvbCpu <= kMaxFinishRatio});
        if (f2c) {
            // The same files: lines per second go as the inverse of the times.
            const double vs = f2c->median / finished.median;
            const double vsCpu = f2c->cpuMedian / std::max(finished.cpuMedian, 1e-6);
            std::snprintf(fig, sizeof fig, "%.2fx (cpu %.2fx)", vs, vsCpu);
            verdicts.push_back({"ftvb-convert --finish >= 10x f2c's lines per second", fig,
                                ok(finished) && vs >= kMinFinishOverF2c, vsCpu >= kMinFinishOverF2c});
        } else {
            verdicts.push_back({"ftvb-convert --finish >= 10x f2c's lines per second", "f2c not installed",
                                std::nullopt, std::nullopt});
        }
    }
    std::snprintf(fig, sizeof fig, "%.2fx (cpu %.2fx)", starlessRatio, starlessRatioCpu);
    verdicts.push_back({"the same, \"*\" comments written as \"c\"", fig,
                        ok(starlessReviewed) && starlessRatio <= kMaxReviewRatio, starlessRatioCpu <= kMaxReviewRatio});
    std::snprintf(fig, sizeof fig, "%.2fx (cpu %.2fx)", ftvbOverCat, ftvbOverCatCpu);
    verdicts.push_back({"ftvb-convert <= 7x the cat time", fig, ok(ftvb1) && ftvbOverCat <= kMaxTimesCat,
                        ftvbOverCatCpu <= kMaxTimesCat});
    std::snprintf(fig, sizeof fig, "%s", mib(ftvb1.maxRssKiB).c_str());
    verdicts.push_back({"peak RSS < 8 MiB (list x1)", fig,
                        ok(ftvb1) && static_cast<double>(ftvb1.maxRssKiB) / 1024.0 < kMaxRssMiB, std::nullopt});
    std::snprintf(fig, sizeof fig, "%s", mib(ftvb8.maxRssKiB).c_str());
    verdicts.push_back({"peak RSS < 8 MiB (list x8)", fig,
                        ok(ftvb8) && static_cast<double>(ftvb8.maxRssKiB) / 1024.0 < kMaxRssMiB, std::nullopt});
    std::snprintf(fig, sizeof fig, "%+ld KiB (%+ld KiB with the list of names)", dataGrowth,
                  ftvb8.maxRssKiB - ftvb1.maxRssKiB);
    verdicts.push_back({"peak RSS the same for x1 and x8, names aside", fig,
                        ok(ftvb8) && ok(names8) && static_cast<double>(dataGrowth) <= kRssGrowthSlackKiB,
                        std::nullopt});
    for (std::size_t i = 0; i < patho.size(); ++i) {
        std::snprintf(fig, sizeof fig, "net %.3f (gross %.3f, net cpu %.3f)%s", netShare[i], grossShare[i],
                      netCpuShare[i], pathoRuns[i].timedOut ? ", timed out" : "");
        verdicts.push_back({patho[i].name + " >= 0.1 of corpus B/s", fig,
                            ok(pathoRuns[i]) && netShare[i] >= kMinPathoShare,
                            ok(pathoRuns[i]) && netCpuShare[i] >= kMinPathoShare});
    }
    if (windowRatio) {
        std::snprintf(fig, sizeof fig, "%.2f%s", *windowRatio, windowSame ? "" : " (module differs)");
        verdicts.push_back(
            {"window/ftvb-convert <= 1.5", fig, ok(*window) && *windowRatio <= kMaxWindowRatio, std::nullopt});
    } else {
        verdicts.push_back({"window/ftvb-convert <= 1.5", "ftvb-window-bench not built", std::nullopt, std::nullopt});
    }
    if (folderRatio) {
        std::snprintf(fig, sizeof fig, "%.2f", *folderRatio);
        verdicts.push_back({"window: 100,000-file folder <= 8x an empty one", fig,
                            ok(*manyFiles) && *folderRatio <= kMaxFolderRatio, std::nullopt});
    } else {
        verdicts.push_back({"window: 100,000-file folder <= 8x an empty one",
                            manyFilesJob ? "Xvfb not installed" : "ftvb-window-bench not built", std::nullopt,
                            std::nullopt});
    }

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
    return 0;
}
