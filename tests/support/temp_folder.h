// A fresh folder for one test, under $TMPDIR (or /tmp when it is unset), so
// that tests honour the place the user gives for temporary files; on
// Windows under the user's temporary folder (%TMP%).
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <chrono>
#include <random>
#endif

namespace ftvb::testing {

#ifdef _WIN32
inline std::filesystem::path makeTempFolder(const std::string& prefix) {
    static std::mt19937_64 random(
        std::random_device{}() ^
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int tries = 0; tries < 100; ++tries) {
        const std::filesystem::path folder = base / (prefix + "-" + std::to_string(random() % 1000000000));
        if (std::filesystem::create_directory(folder)) return folder;
    }
    throw std::runtime_error("cannot make a folder for " + prefix + " in " + base.string());
}
#else
inline std::filesystem::path makeTempFolder(const std::string& prefix) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/" + prefix + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a folder like " + pattern);
    return pattern;
}
#endif

}  // namespace ftvb::testing
