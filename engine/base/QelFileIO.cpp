#include "engine/base/QelFileIO.h"

#include <algorithm>

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

}  // namespace

std::string QelFileIO::MakePath(const std::string& folder, const std::string& name, const std::string& extension)
{
    std::string path = folder;
    if (!name.empty() || !extension.empty()) {
        const bool folderEndsInSeparator = !folder.empty() && IsSeparator(folder.back());
        const bool nameBeginsWithSeparator = !name.empty() && IsSeparator(name.front());
        if (!folder.empty() && !folderEndsInSeparator && !nameBeginsWithSeparator)
            path += '/';
        path += name;
        const bool nameEndsInDot = !name.empty() && name.back() == '.';
        const bool extensionBeginsWithDot = !extension.empty() && extension.front() == '.';
        // Windows dropped the trailing dot of an empty extension when opening;
        // here "name." would be another file, so no dot is added at all.
        if (!extension.empty() && !nameEndsInDot && !extensionBeginsWithDot)
            path += '.';
        path += extension;
    }
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
