#include "ui/file_patterns.h"

namespace ftvb::ui {
namespace {

bool namesAnotherFolder(std::string_view wildcard) {
#ifdef _WIN32
    // "C:*.for" is a folder of drive C:, and a colon after a name an
    // alternate stream; "\" separates folders as "/" does.
    return wildcard.find_first_of("/\\:") != std::string_view::npos;
#else
    return wildcard.find('/') != std::string_view::npos;
#endif
}

}  // namespace

std::vector<std::string> splitPattern(std::string_view pattern) {
    std::vector<std::string> wildcards;
    for (;;) {
        const std::size_t semicolon = pattern.find(';');
        std::string_view part = pattern.substr(0, semicolon);
        const std::size_t first = part.find_first_not_of(" \t");
        part = first == std::string_view::npos ? std::string_view() : part.substr(first);
        part = part.substr(0, part.find_last_not_of(" \t") + 1);
        if (!part.empty()) {
            if (namesAnotherFolder(part)) return {};
            wildcards.emplace_back(part);
        }
        if (semicolon == std::string_view::npos) break;
        pattern.remove_prefix(semicolon + 1);
    }
    return wildcards;
}

}  // namespace ftvb::ui
