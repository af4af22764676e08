#include "ui/qt/folder_entries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace ftvb::ui::qt {

bool readFolder(const std::string& path, std::vector<FolderEntry>& entries) {
    entries.clear();
    DIR* folder = ::opendir(path.c_str());
    if (folder == nullptr) return false;
    while (const dirent* entry = ::readdir(folder)) {
        if (entry->d_name[0] == '.') continue;
        FolderEntry found{entry->d_name};
        if (entry->d_type == DT_DIR) {
            found.folder = true;
        } else if (entry->d_type == DT_REG) {
            found.file = true;
        } else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(::dirfd(folder), entry->d_name, &st, 0) != 0) continue;
            found.folder = S_ISDIR(st.st_mode);
            found.file = S_ISREG(st.st_mode);
        }
        if (found.folder || found.file) entries.push_back(std::move(found));
    }
    ::closedir(folder);
    return true;
}

}  // namespace ftvb::ui::qt
