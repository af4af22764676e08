// One pass over a folder with the system's own calls. The toolkit's own
// listing leaves out names that are not valid in the locale's encoding, and
// the folder tree's model looks at every file (its icon, its type) on the
// interface thread; this reads each name once, keeps its bytes, and looks a
// file up only when the folder does not say what kind of entry it is.
#pragma once

#include <string>
#include <vector>

namespace ftvb::ui::qt {

enum class EntryKind { folders, files };

// The names, as the file system spells them, of a folder's subfolders or of
// its regular files, links followed, in no order. Hidden entries (names
// beginning with ".") are left out, and so are devices, pipes, sockets and
// broken links. False when the folder cannot be read.
bool readFolder(const std::string& path, EntryKind kind, std::vector<std::string>& names);

}  // namespace ftvb::ui::qt
