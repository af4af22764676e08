#include "bench/report.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace ftvb::bench {

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

bool ok(const Measure& m) { return !m.timedOut && m.exitCode == 0; }

void throughputRow(const Measure& m, const Totals& t, bool showRss) {
    const double s = m.median;
    std::printf("  %-18s %8.3f s %8.3f s %10.0f %8.1f   ±%2.0f%%", m.label.c_str(), s, m.cpuMedian,
                static_cast<double>(t.lines) / s, static_cast<double>(t.bytes) / 1e6 / s, m.spread * 50);
    if (showRss) std::printf(" %10s", mib(m.maxRssKiB).c_str());
    const std::string st = status(m);
    if (!st.empty()) std::printf("  [%s]", st.c_str());
    std::printf("\n");
}

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

std::string lastLine(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    std::string line;
    std::string last = "(none)";
    while (std::getline(f, line)) last = line;
    return last;
}

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

}  // namespace ftvb::bench
