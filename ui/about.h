// The About box's fixed texts: ours, in neither language.
#pragma once

#include <string>

#include "ftvb/version.h"

namespace ftvb::ui {

inline constexpr const char* kAppTitle = "ftvb";
inline constexpr const char* kMakerName = "The ftvb project";
// The postal address, first line to the country.
inline constexpr const char* kAddressLines[4] = {
    "c/o ftvb maintainers",
    "12 Example Road",
    "00000 Sampletown",
    "Exampleland",
};
inline constexpr const char* kWebHost = "https://ftvb.example.org";
inline constexpr const char* kOtherProductsPath = "/html/other_products.html";

inline std::string otherProductsPage() { return std::string(kWebHost) + kOtherProductsPath; }

inline std::string versionLine() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

}  // namespace ftvb::ui
