// A fresh folder for one test, under $TMPDIR (or /tmp when it is unset), so
// that tests honour the place the user gives for temporary files.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace ftvb::testing {

inline std::filesystem::path makeTempFolder(const std::string& prefix) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/" + prefix + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a folder like " + pattern);
    return pattern;
}

}  // namespace ftvb::testing
