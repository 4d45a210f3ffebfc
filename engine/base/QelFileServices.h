#pragma once
// The engine's file services: the named file objects, the existence check and
// the machine settings (the engine's key "qelEngine", kept in a file).
// The input service forwards its file and registry calls here; the headless
// server uses this object directly. Free of SDL so both can.

#include "engine/base/QelFileIO.h"
#include "engine/base/QelSettingsFile.h"

#include <map>
#include <memory>
#include <string>

class QelFileServices {
public:
    // The process's one instance, reached by game code that needs a file object.
    static QelFileServices& Instance();

    // Settings live where QelSettingsFile::DefaultFolder() says at each access,
    // or in the given folder.
    QelFileServices() = default;
    explicit QelFileServices(std::filesystem::path settingsFolder);
    QelFileServices(const QelFileServices&) = delete;
    QelFileServices& operator=(const QelFileServices&) = delete;

    // The file object kept under the tag, made empty on first use and owned
    // here until the services end. Never fails.
    QelFileIO* GetFileIO(const std::string& tag);

    // The file object kept under the tag, or null when none was made.
    QelFileIO* FindFileIO(const std::string& tag) const;

    // Whether the file (a game path; "data/..." is the data folder) can be
    // opened for reading. A folder is not a file.
    bool FileExists(const std::string& path) const;

    // Makes the folders a file (a game path) is to be written in; false when
    // they cannot be made.
    bool MakeFolderFor(const std::string& path) const;

    // Compares the last-write times of two files (game paths): 1 when the
    // first is later, 0 when equal, -1 when earlier; 2 when the first is no
    // file that can be read, 3 when the second is not.
    int32_t CompareFileTimes(const std::string& first, const std::string& second) const;

    // Appends the stored text of the value, up to its first NUL, to the
    // output. False, with the output untouched, when it cannot be read.
    bool GetRegistryValue(const std::string& name, std::string& output) const;

    // Stores the text under the name. False when it could not be stored.
    bool SetRegistryValue(const std::string& name, const std::string& text);

    // The data set in use: while a subfolder is named, documents, bitmaps and
    // fonts are looked up in "data/<subfolder>" instead of "data". None unless
    // the program names one.
    void SetDataSubfolder(std::string name);
    const std::string& DataSubfolder() const;
    // The game path of the data set: "data", or "data/<subfolder>".
    std::string DataSetFolder() const;

private:
    std::map<std::string, std::unique_ptr<QelFileIO>> files_;
    QelSettingsFile settings_;
    std::string dataSubfolder_;
};
