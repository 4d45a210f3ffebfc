#include "engine/base/QelBitmapFiles.h"

#include <cstdio>
#include <vector>

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"

namespace {

const char* const kDefaultsFolder = "data/QelDefault/";
const char* const kRawBitmapExtension = ".rawbitmap";

std::string BitmapFolder()
{
    return QelFileServices::Instance().DataSetFolder() + "/graphics/";
}

}  // namespace

std::optional<std::string> FindBitmapFile(const std::string& name, bool loadingDefaults)
{
    std::vector<std::string> candidates;
    if (loadingDefaults) {
        candidates.push_back(kDefaultsFolder + name + ".png");
    } else if (!qel::CheckDataName(name)) {
        std::fprintf(stderr, "Bitmap %s: not a name inside the data folder; it is left out.\n", name.c_str());
        return std::nullopt;
    } else {
        const std::string folder = BitmapFolder();
        candidates = {folder + name + ".png", folder + name + ".jpg", folder + name,
                      folder + name + kRawBitmapExtension};
    }
    for (const std::string& path : candidates)
        if (QelFileServices::Instance().FileExists(path))
            return path;
    return std::nullopt;
}

std::optional<std::string> BitmapSavePath(const std::string& name)
{
    if (!qel::CheckDataName(name))
        return std::nullopt;
    return BitmapFolder() + name;
}

bool IsRawBitmapPath(const std::string& path)
{
    const std::string extension = kRawBitmapExtension;
    return path.size() > extension.size() && path.compare(path.size() - extension.size(), extension.size(), extension) == 0;
}
