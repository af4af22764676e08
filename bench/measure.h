// Timing commands for the benchmarks: each one run in rounds with its
// wall time, CPU time and peak resident memory, and a median per command.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace ftvb::bench {

[[noreturn]] void die(const std::string& message);
double now();
std::string absolute(const std::string& path);

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

// The commands to time. They run in rounds, each command once per round, so
// that a burst of load from elsewhere on the machine falls on every command
// alike instead of on whichever happened to be running; the ratios between
// them are what the targets judge.
class Rounds {
public:
    // Every command's standard error goes to WORK/stderr.log.
    explicit Rounds(const std::string& work);

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
    void run(int runs);

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

}  // namespace ftvb::bench
