// A stand-in for the runtime library's interface until the real one lands:
// the names of the helpers the writer calls, and a minimal VBA text of them.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace ftvb::finish {

std::string runtimeText(const std::set<std::string>& used);
const std::vector<std::string>& runtimeNames();

}  // namespace ftvb::finish
