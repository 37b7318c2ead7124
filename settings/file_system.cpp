#include "settings/file_system.h"

namespace zz {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    // A root such as "C:\" or "/" already ends in a separator.
    const bool separated = !path.empty() && (path.back() == kPathSeparator || path.back() == '/');
    if (!path.empty() && !separated) {
        path += kPathSeparator;
    }
    path += name;
    return path;
}

}  // namespace zz
