// What the file side does the same way on every platform, over the
// platform's SourceReader and ModuleWriter.
#include "engine/files.h"

namespace ftvb {

Outcome writeWholeFile(const std::string& name, std::string_view bytes) {
    ModuleWriter file;
    if (Outcome why = file.open(name)) return why;
    file.writeBytes(bytes);
    return file.commit();
}

}  // namespace ftvb
