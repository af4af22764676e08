// The run's two lasting tables, held so that looking something up costs the
// same with three entries or three hundred thousand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ftvb {

struct NamelistGroup {
    std::string name;       // text between the two slashes
    std::string variables;  // what a reference to the group is replaced by
};

// NAMELIST groups in the order they were met, kept for the whole run.
class NamelistTable {
public:
    void add(std::string name, std::string variables);

    // The earliest group whose name occurs anywhere in `text`, or none.
    const NamelistGroup* firstIn(std::string_view text) const;

    std::size_t size() const { return groups_.size(); }
    bool empty() const { return groups_.empty(); }
    const NamelistGroup& operator[](std::size_t i) const { return groups_[i]; }

private:
    std::deque<NamelistGroup> groups_;  // a deque keeps the names where the index points
    // Beyond a few groups, each position of a statement is looked up instead
    // of searching the statement once per group.
    std::unordered_map<std::string_view, std::size_t> firstByName_;
    std::vector<std::size_t> nameLengths_;  // distinct, ascending
};

// Labelled DO loops waiting for their terminal label, by label.
class PendingLoopTable {
public:
    void record(std::string_view label, std::string variable);

    // Takes out every loop recorded for `label` and appends its variables to
    // `variables`, the latest recorded first.
    void takeFor(std::string_view label, std::vector<std::string>& variables);

    bool empty() const { return byLabel_.empty(); }
    // The variables waiting for `label`, in the order recorded.
    std::vector<std::string> waitingFor(std::string_view label) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::vector<std::string>, Hash, std::equal_to<>> byLabel_;
    // The first bytes of the labels waiting, so that most labels are ruled
    // out without hashing them.
    std::uint64_t firstBytes_[4] = {};
};

}  // namespace ftvb
