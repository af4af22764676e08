// The run's two lasting tables, held so that looking something up costs the
// same with three entries or three hundred thousand.
#pragma once

#include <cstddef>
#include <deque>
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
    const NamelistGroup& operator[](std::size_t i) const { return groups_[i]; }

private:
    std::deque<NamelistGroup> groups_;  // a deque keeps the names where the index points
    // Beyond a few groups, each position of a statement is looked up instead
    // of searching the statement once per group.
    std::unordered_map<std::string_view, std::size_t> firstByName_;
    std::vector<std::size_t> nameLengths_;  // distinct, ascending
};

// Labelled DO loops waiting for their terminal label.
class PendingLoopTable {
public:
    void record(const std::string& labelLine, std::string variable);

    // Takes out every loop recorded for `labelLine` and appends its variables
    // to `variables`, the latest recorded first.
    void takeFor(const std::string& labelLine, std::vector<std::string>& variables);

    bool empty() const { return byLabel_.empty(); }
    // The variables waiting for `labelLine`, in the order recorded.
    std::vector<std::string> waitingFor(const std::string& labelLine) const;

private:
    std::unordered_map<std::string, std::vector<std::string>> byLabel_;
};

}  // namespace ftvb
