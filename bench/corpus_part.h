// The corpus part of the report: ftvb-convert on the LAPACK list, plain,
// with --review and with --finish, against cat and f2c (and a reference
// build, when there is one), and the list twice, four and eight times over
// with the same names over empty files, for time and memory as the list
// grows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bench/inputs.h"
#include "bench/measure.h"
#include "bench/options.h"
#include "bench/report.h"

namespace ftvb::bench {

// The LAPACK list once and several times over, with the copies that tell
// one cost from another.
class CorpusPart {
public:
    CorpusPart(const Options& o, Rounds& rounds, const std::vector<std::string>& files);

    const std::string& module() const { return module_; }
    std::size_t plainJob() const { return ftvb1_; }
    std::size_t reviewJob() const { return review_; }

    void report(const Rounds& rounds, const Totals& once, std::vector<Verdict>& speed, std::vector<Verdict>& rest);

private:
    static constexpr int kFactors[4] = {1, 2, 4, 8};

    std::vector<std::string> ftvbArgs(const std::vector<std::string>& list, const std::string& out) const {
        return concat({o_.convert, "-q", "-o", out}, list);
    }
    static std::vector<std::string> catArgs(const std::vector<std::string>& list) { return concat({"/bin/cat"}, list); }

    const Options& o_;
    const std::vector<std::string>& files_;
    std::string module_;
    std::string reviewModule_;
    std::size_t finish_ = 0;
    std::size_t cat1_ = 0, ftvb1_ = 0, review_ = 0, names1_ = 0, names8_ = 0;
    std::size_t cats_[4] = {}, ftvbs_[4] = {};
    std::optional<std::size_t> f2c_;
    std::optional<std::size_t> reference_;
};

}  // namespace ftvb::bench
