// The About box's fixed texts, in neither language: what the program is,
// its version and licence, and the manual its link opens.
#pragma once

#include <functional>
#include <string>

#include "ftvb/version.h"

namespace ftvb::ui {

inline constexpr const char* kAppTitle = "ftvb";
// The lines under the logo, first to last; the link to the manual follows.
inline constexpr const char* kAboutLines[5] = {
    "FORTRAN 77 to BASIC module translator",
    "Free software under the MIT licence",
    "Window: ftvb; command line: ftvb-convert",
    "Both write the same module, byte for byte",
    "",
};
inline constexpr const char* kManualCaption = "The ftvb manual";
// Said when the link cannot do its job, followed by the manual's place.
inline constexpr const char* kManualMissing = "The manual is not there: ";
inline constexpr const char* kManualNotOpened = "The manual could not be opened: ";

inline std::string versionLine() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

// The addresses the build gives: the manual as installed, and, for a
// build that is not installed, its own copy and the source tree's README.
struct ManualPlaces {
    std::string installed;  // any address; "file://" ones are checked
    std::string built;      // a path
    std::string readme;     // a path
};

// The address the link opens: the installed manual unless it is a local
// file that is not there, else the first of the two others that exists (the
// README when neither does, so that the browser says what is missing).
std::string manualAddress(const ManualPlaces& places, const std::function<bool(const std::string&)>& exists);

}  // namespace ftvb::ui
