#pragma once
// The open and save file dialogs, shown by a desktop helper program found on
// the search path: zenity, else kdialog. The helper runs as a child process
// with its arguments passed as a vector and its answer read from a pipe; no
// text ever goes through a shell. Without either helper the dialog says so in
// the log and returns at once.

#include <optional>
#include <string>
#include <vector>

class QelFileDialog {
public:
    // Longest answer read from a helper. Thousands of chosen files with long
    // paths fit; a helper that writes without end cannot exhaust memory.
    static constexpr size_t kMaxAnswerBytes = 1 << 20;

    enum class Helper { Zenity, Kdialog };

    // Searches the folders of the process's PATH.
    QelFileDialog();
    // Searches the folders of this PATH-style list (':'-separated).
    explicit QelFileDialog(std::string searchPath);

    // Shows the save dialog ("Save File") or the open dialog ("Get File",
    // several files selectable) and appends every chosen file to names as its
    // folder and file name (SplitFileDialogText). False when nothing was
    // chosen or no dialog could be shown.
    bool Show(std::vector<std::string>& names, bool save) const;

    // The chosen files separated by '|', or nothing when the user cancelled
    // or no dialog could be shown.
    std::optional<std::string> Ask(bool save) const;

    // The full argument vector of the helper's dialog, program name first.
    static std::vector<std::string> Arguments(Helper helper, bool save);

private:
    struct FoundHelper {
        Helper helper;
        std::string path;
    };

    std::optional<FoundHelper> FindHelper() const;
    std::string FindOnSearchPath(const std::string& program) const;

    std::string searchPath_;
};
