#include "ui/win32/hidden_file_list.h"

#include <windows.h>

#include <algorithm>

#include "ui/file_patterns.h"
#include "ui/win32/wide.h"

namespace ftvb::ui::win32 {

std::wstring foldCase(const std::wstring& name) {
    std::wstring upper(name);
    if (!upper.empty()) {
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.c_str(), int(name.size()), upper.data(),
                      int(upper.size()), nullptr, nullptr, 0);
    }
    return upper;
}

bool lessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    const int order = CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()), b.c_str(),
                                      int(b.size()), nullptr, nullptr, 0);
    if (order != CSTR_EQUAL) return order == CSTR_LESS_THAN;
    return a < b;
}

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

HiddenFileList::HiddenFileList() : folder_(L".") { setPattern("*.for"); }

bool HiddenFileList::setFolder(const std::wstring& folder) {
    if (folder.empty() || !isFolder(folder)) return false;
    folder_ = folder;
    return true;
}

bool HiddenFileList::setPattern(const std::string& pattern) {
    const std::vector<std::string> parts = splitPattern(pattern);
    if (parts.empty()) return false;
    wildcards_.clear();
    for (const std::string& part : parts) {
        // "*.*" is every file to a Windows user, names without a dot too.
        wildcards_.push_back(part == "*.*" ? L"*" : widen(part));
    }
    pattern_ = pattern;
    return true;
}

bool HiddenFileList::refresh() {
    std::wstring prefix = folder_;
    if (!prefix.empty() && prefix.back() != L'\\' && prefix.back() != L'/') prefix += L'\\';
    std::vector<std::wstring> names;
    constexpr DWORD kLeftOut = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const std::wstring& wildcard : wildcards_) {
        // The system picks the names of each wildcard, which is fast in a
        // folder of 100,000 files; each name is then matched again here,
        // since the system also matches the 8.3 short names: "*.for" would
        // list "notes.fortran" through its short name NOTES~1.FOR.
        WIN32_FIND_DATAW found;
        const HANDLE find = FindFirstFileExW((prefix + wildcard).c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_NOT_FOUND) continue;
            return false;
        }
        const std::wstring folded = foldCase(wildcard);
        do {
            if ((found.dwFileAttributes & kLeftOut) != 0) continue;
            if (wildcardMatch<wchar_t>(folded, foldCase(found.cFileName))) names.emplace_back(found.cFileName);
        } while (FindNextFileW(find, &found));
        const bool whole = GetLastError() == ERROR_NO_MORE_FILES;
        FindClose(find);
        if (!whole) return false;
    }
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    // A name that two wildcards match is listed once.
    names.erase(std::unique(names.begin(), names.end()), names.end());
    names_ = std::move(names);
    return true;
}

}  // namespace ftvb::ui::win32
