#include "engine/tables.h"

#include <algorithm>

#include "text/bytes.h"

namespace ftvb {
namespace {

// Up to this many groups a plain search per group is cheaper than the
// lookups.
constexpr std::size_t kSearchEachGroup = 16;

}  // namespace

void NamelistTable::add(std::string name, std::string variables) {
    groups_.push_back({std::move(name), std::move(variables)});
    const std::string_view stored = groups_.back().name;
    firstByName_.try_emplace(stored, groups_.size() - 1);
    const auto at = std::lower_bound(nameLengths_.begin(), nameLengths_.end(), stored.size());
    if (at == nameLengths_.end() || *at != stored.size()) nameLengths_.insert(at, stored.size());
}

const NamelistGroup* NamelistTable::firstIn(std::string_view text) const {
    if (groups_.empty() || text.empty()) return nullptr;
    if (groups_.size() <= kSearchEachGroup) {
        for (const NamelistGroup& g : groups_) {
            if (contains(text, g.name)) return &g;
        }
        return nullptr;
    }
    std::size_t best = groups_.size();
    for (const std::size_t length : nameLengths_) {
        if (length > text.size()) break;
        for (std::size_t i = 0; i + length <= text.size(); ++i) {
            const auto found = firstByName_.find(text.substr(i, length));
            if (found != firstByName_.end()) best = std::min(best, found->second);
        }
    }
    return best < groups_.size() ? &groups_[best] : nullptr;
}

void PendingLoopTable::record(const std::string& labelLine, std::string variable) {
    byLabel_[labelLine].push_back(std::move(variable));
}

void PendingLoopTable::takeFor(const std::string& labelLine, std::vector<std::string>& variables) {
    if (byLabel_.empty()) return;  // most labels close no loop
    const auto found = byLabel_.find(labelLine);
    if (found == byLabel_.end()) return;
    variables.insert(variables.end(), found->second.rbegin(), found->second.rend());
    byLabel_.erase(found);
}

std::vector<std::string> PendingLoopTable::waitingFor(const std::string& labelLine) const {
    const auto found = byLabel_.find(labelLine);
    return found == byLabel_.end() ? std::vector<std::string>{} : found->second;
}

}  // namespace ftvb
