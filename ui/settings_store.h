// The per-user settings store: text values addressed by section and key
// under the one application name. A store that cannot be read gives the
// fallback; a write that cannot be kept is dropped without a word, since no
// caller can do better than go on.
#pragma once

#include <string>

namespace ftvb::ui {

inline constexpr const char* kApplication = "MIRADOR_FTVB";

inline constexpr const char* kLanguageSection = "langue";
inline constexpr const char* kLanguageKey = "langue";

inline constexpr const char* kAccessSection = "access";
inline constexpr const char* kDriveKey = "u0";
inline constexpr const char* kFolderKey = "d0";
inline constexpr const char* kModuleKey = "f0";
inline constexpr const char* kPatternKey = "p0";
// "1" when Check1 is checked, "0" when not.
inline constexpr const char* kFinishKey = "finish";

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string read(const std::string& section, const std::string& key, const std::string& fallback) = 0;
    virtual void write(const std::string& section, const std::string& key, const std::string& value) = 0;
};

}  // namespace ftvb::ui
