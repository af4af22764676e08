#include "ui/about.h"

namespace ftvb::ui {

std::string manualAddress(const ManualPlaces& places, const std::function<bool(const std::string&)>& exists) {
    static constexpr std::string_view kFile = "file://";
    const bool local = places.installed.compare(0, kFile.size(), kFile) == 0;
    if (!places.installed.empty() && (!local || exists(places.installed.substr(kFile.size())))) {
        return places.installed;
    }
    return std::string(kFile) + (exists(places.built) ? places.built : places.readme);
}

}  // namespace ftvb::ui
