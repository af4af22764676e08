// File1: the names of the ordinary files of one folder that match the
// pattern, never shown, in order of name without regard to case. Hidden and
// system files are left out, as are folders.
#pragma once

#include <string>
#include <vector>

namespace ftvb::ui::win32 {

class HiddenFileList {
public:
    HiddenFileList();

    // Each setter leaves the previous value in force when it returns false.
    bool setFolder(const std::wstring& folder);
    bool setPattern(const std::string& pattern);
    const std::wstring& folder() const { return folder_; }
    const std::string& pattern() const { return pattern_; }

    // Reads the folder again; false, keeping the names it had, when the
    // folder cannot be read.
    bool refresh();
    const std::vector<std::wstring>& names() const { return names_; }

private:
    std::wstring folder_;
    std::string pattern_;
    std::vector<std::wstring> wildcards_;
    std::vector<std::wstring> names_;
};

// The name in upper case as the file system compares names: "résumé.for"
// and "RÉSUMÉ.FOR" are one name to it.
std::wstring foldCase(const std::wstring& name);

// The user's alphabetical order of names without regard to case (an
// accented letter with its plain one), then by case, so that the order
// never depends on the order the folder gives.
bool lessIgnoringCase(const std::wstring& a, const std::wstring& b);

// The attributes of an existing folder, or false.
bool isFolder(const std::wstring& path);

}  // namespace ftvb::ui::win32
