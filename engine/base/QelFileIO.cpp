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
        // An empty extension adds no dot: "name." would be another file.
        if (!extension.empty() && !nameEndsInDot && !extensionBeginsWithDot)
            path += '.';
        path += extension;
    }
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
