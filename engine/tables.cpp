#include "engine/tables.h"

#include <algorithm>

#include "text/bytes.h"

namespace ftvb {
namespace {

// Up to this many groups a plain search per group is cheaper than the
// lookups.
constexpr std::size_t kSearchEachGroup = 16;

unsigned char firstByte(std::string_view label) { return static_cast<unsigned char>(label.empty() ? 0 : label[0]); }

bool inSet(const std::uint64_t (&set)[4], std::string_view label) {
    const unsigned char b = firstByte(label);
    return ((set[b >> 6] >> (b & 63)) & 1) != 0;
}

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

void PendingLoopTable::record(std::string_view label, std::string variable) {
    const unsigned char b = firstByte(label);
    firstBytes_[b >> 6] |= std::uint64_t{1} << (b & 63);
    const auto found = byLabel_.find(label);
    if (found != byLabel_.end()) {
        found->second.push_back(std::move(variable));
    } else {
        byLabel_.emplace(std::string(label), std::vector<std::string>{std::move(variable)});
    }
}

void PendingLoopTable::takeFor(std::string_view label, std::vector<std::string>& variables) {
    if (!inSet(firstBytes_, label)) return;  // most labels close no loop
    const auto found = byLabel_.find(label);
    if (found == byLabel_.end()) return;
    variables.insert(variables.end(), found->second.rbegin(), found->second.rend());
    byLabel_.erase(found);
}

std::vector<std::string> PendingLoopTable::waitingFor(std::string_view label) const {
    const auto found = byLabel_.find(label);
    return found == byLabel_.end() ? std::vector<std::string>{} : found->second;
}

}  // namespace ftvb
