#include "ui/qt/folder_entries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace ftvb::ui::qt {

bool readFolder(const std::string& path, EntryKind kind, std::vector<std::string>& names) {
    names.clear();
    DIR* folder = ::opendir(path.c_str());
    if (folder == nullptr) return false;
    const bool folders = kind == EntryKind::folders;
    while (const dirent* entry = ::readdir(folder)) {
        if (entry->d_name[0] == '.') continue;
        bool wanted = entry->d_type == (folders ? DT_DIR : DT_REG);
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            wanted = ::fstatat(::dirfd(folder), entry->d_name, &st, 0) == 0 &&
                     (folders ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode));
        }
        if (wanted) names.emplace_back(entry->d_name);
    }
    ::closedir(folder);
    return true;
}

}  // namespace ftvb::ui::qt
