#include "engine/base/QelFileServices.h"

#include <sys/stat.h>

#include <filesystem>
#include <utility>

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelPosixFileIO.h"

namespace {

// The game path every data set lies under.
const char* const kDataSetRoot = "data";

bool LastWriteTime(const std::string& path, timespec& out)
{
    struct stat info {};
    if (stat(qel::ResolveGamePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    out = info.st_mtim;
    return true;
}

}  // namespace

QelFileServices& QelFileServices::Instance()
{
    static QelFileServices services;
    return services;
}

QelFileServices::QelFileServices(std::filesystem::path settingsFolder) : settings_(std::move(settingsFolder)) {}

QelFileIO* QelFileServices::GetFileIO(const std::string& tag)
{
    std::unique_ptr<QelFileIO>& file = files_[tag];
    if (!file)
        file = std::make_unique<QelPosixFileIO>(tag);
    return file.get();
}

QelFileIO* QelFileServices::FindFileIO(const std::string& tag) const
{
    const auto found = files_.find(tag);
    return found == files_.end() ? nullptr : found->second.get();
}

bool QelFileServices::FileExists(const std::string& path) const
{
    QelPosixFileIO probe("FileExists");
    return probe.Open(path, "", "", true, false, false, false);
}

bool QelFileServices::MakeFolderFor(const std::string& path) const
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(qel::ResolveGamePath(path)).parent_path();
    if (folder.empty())
        return true;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

int32_t QelFileServices::CompareFileTimes(const std::string& first, const std::string& second) const
{
    timespec a{}, b{};
    if (!LastWriteTime(first, a))
        return 2;
    if (!LastWriteTime(second, b))
        return 3;
    if (a.tv_sec != b.tv_sec)
        return a.tv_sec > b.tv_sec ? 1 : -1;
    if (a.tv_nsec != b.tv_nsec)
        return a.tv_nsec > b.tv_nsec ? 1 : -1;
    return 0;
}

bool QelFileServices::GetRegistryValue(const std::string& name, std::string& output) const
{
    const std::optional<std::string> value = settings_.Get(name);
    if (!value)
        return false;
    output.append(value->c_str());
    return true;
}

bool QelFileServices::SetRegistryValue(const std::string& name, const std::string& text)
{
    return settings_.Set(name, text);
}

void QelFileServices::SetDataSubfolder(std::string name)
{
    dataSubfolder_ = std::move(name);
}

const std::string& QelFileServices::DataSubfolder() const
{
    return dataSubfolder_;
}

std::string QelFileServices::DataSetFolder() const
{
    const std::string root = kDataSetRoot;
    return dataSubfolder_.empty() ? root : root + "/" + dataSubfolder_;
}
