// The build's version, shown by both programs.
#pragma once

namespace ftvb {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 2;
inline constexpr int kVersionRevision = 2;
inline constexpr const char* kVersionText = "2.2.2";

}  // namespace ftvb
