// A fresh folder for one test, under $TMPDIR (or /tmp when it is unset), so
// that tests honour the place the user gives for temporary files; on
// Windows under the user's temporary folder (%TMP%). TempFolder removes it
// with all it holds when the test ends, however the test ends.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

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

// A member of a fixture, or a local of a test: made when the test starts,
// gone when it ends, also after a failed ASSERT.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix) : path_(makeTempFolder(prefix)) {}
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // A folder a test took the rights of gets them back, so that what it
    // holds can go; what still cannot be removed stays behind, and the next
    // run makes a folder of its own in any case.
    ~TempFolder() {
        namespace fs = std::filesystem;
        std::error_code error;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
        for (auto it = fs::recursive_directory_iterator(path_, error); it != fs::recursive_directory_iterator();
             it.increment(error)) {
            if (it->is_directory(error) && !it->is_symlink(error)) {
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
            }
        }
        fs::remove_all(path_, error);
    }

    const std::filesystem::path& path() const { return path_; }
    // Wherever a path is taken: fs::directory_iterator(folder), a ProgramRun.
    operator const std::filesystem::path&() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }
    std::string string() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

}  // namespace ftvb::testing
