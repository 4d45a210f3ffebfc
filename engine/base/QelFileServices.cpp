#include "engine/base/QelFileServices.h"

#include "engine/base/QelPosixFileIO.h"

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
