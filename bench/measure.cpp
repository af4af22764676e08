#include "bench/measure.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
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

namespace ftvb::bench {

void die(const std::string& message) {
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

namespace {

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

}  // namespace

Rounds::Rounds(const std::string& work)
    : err_(work + "/stderr.log"), rssFile_(access(kTimeProgram, X_OK) == 0 ? work + "/maxrss.txt" : "") {}

void Rounds::run(int runs) {
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

}  // namespace ftvb::bench
