#include "engine/base/QelFileDialog.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/base/QelFileDialogText.h"
#include "helper/GeneralUtils.h"

extern char** environ;

namespace {

const char* const kSaveTitle = "Save File";
const char* const kOpenTitle = "Get File";
// The one filter pattern both dialogs offer.
const char* const kFilterPattern = "*.*";
// Both helpers end with this status when the user closes the dialog unanswered.
constexpr int kCancelledStatus = 1;

void Log(const std::string& text)
{
    std::fprintf(stderr, "File dialog: %s\n", text.c_str());
    std::fflush(stderr);
}

bool IsExecutableFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Reads the child's answer until it closes the pipe; false when it exceeds
// the limit (the pipe is then left for the caller to close).
bool ReadAnswer(int fd, std::string& answer)
{
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return true;
        }
        if (answer.size() + static_cast<size_t>(got) > QelFileDialog::kMaxAnswerBytes)
            return false;
        answer.append(buffer, static_cast<size_t>(got));
    }
}

int WaitForExit(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts the helper with no input, its output on a pipe and its chatter
// discarded; the pipe's own ends close in the child on exec.
bool Spawn(const std::string& path, const std::vector<std::string>& arguments, pid_t& child, int& readEnd)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const int error = posix_spawn(&child, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (error != 0) {
        close(ends[0]);
        Log(path + " could not be started: " + std::strerror(error));
        return false;
    }
    readEnd = ends[0];
    return true;
}

// The helper's output when it ended with status 0 (a choice was made).
std::optional<std::string> RunHelper(const std::string& path, const std::vector<std::string>& arguments)
{
    pid_t child = 0;
    int readEnd = -1;
    if (!Spawn(path, arguments, child, readEnd))
        return std::nullopt;
    std::string answer;
    const bool complete = ReadAnswer(readEnd, answer);
    close(readEnd);
    const int status = WaitForExit(child);
    if (!complete) {
        Log(path + " answered with more than " + std::to_string(QelFileDialog::kMaxAnswerBytes) +
            " bytes; nothing is taken.");
        return std::nullopt;
    }
    // Status 1 is the user's cancel; anything else is the helper failing.
    if (status != 0) {
        if (status != kCancelledStatus)
            Log(path + " ended with status " + std::to_string(status) + "; nothing is chosen.");
        return std::nullopt;
    }
    return answer;
}

// zenity ends its answer with a newline; kdialog puts one after every file.
// Both become the '|' between files.
std::string FilesSeparatedByBars(std::string answer)
{
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r'))
        answer.pop_back();
    for (char& c : answer) {
        if (c == '\n')
            c = '|';
    }
    return answer;
}

}  // namespace

QelFileDialog::QelFileDialog()
{
    if (const char* path = std::getenv("PATH"))
        searchPath_ = path;
}

QelFileDialog::QelFileDialog(std::string searchPath) : searchPath_(std::move(searchPath)) {}

bool QelFileDialog::Show(std::vector<std::string>& names, bool save) const
{
    const std::optional<std::string> answer = Ask(save);
    if (!answer)
        return false;
    SplitFileDialogText(*answer, names);
    return true;
}

std::optional<std::string> QelFileDialog::Ask(bool save) const
{
    const std::optional<FoundHelper> found = FindHelper();
    if (!found) {
        Log("no file dialog available (neither zenity nor kdialog was found); nothing is chosen.");
        return std::nullopt;
    }
    const std::optional<std::string> answer = RunHelper(found->path, Arguments(found->helper, save));
    if (!answer)
        return std::nullopt;
    std::string files = FilesSeparatedByBars(*answer);
    if (files.empty())
        return std::nullopt;
    return files;
}

// Both dialogs start in the helper's default folder.
std::vector<std::string> QelFileDialog::Arguments(Helper helper, bool save)
{
    const std::string filter = kFilterPattern;
    if (helper == Helper::Zenity) {
        if (save)
            return {"zenity", "--file-selection", "--save", std::string("--title=") + kSaveTitle,
                    "--file-filter=" + filter};
        return {"zenity", "--file-selection", "--multiple", "--separator=|", std::string("--title=") + kOpenTitle,
                "--file-filter=" + filter};
    }
    if (save)
        return {"kdialog", "--title", kSaveTitle, "--getsavefilename", "", filter};
    return {"kdialog", "--title", kOpenTitle, "--getopenfilename", "", filter, "--multiple", "--separate-output"};
}

std::optional<QelFileDialog::FoundHelper> QelFileDialog::FindHelper() const
{
    const std::pair<Helper, const char*> helpers[] = {{Helper::Zenity, "zenity"}, {Helper::Kdialog, "kdialog"}};
    for (const auto& [helper, program] : helpers) {
        std::string path = FindOnSearchPath(program);
        if (!path.empty())
            return FoundHelper{helper, std::move(path)};
    }
    return std::nullopt;
}

// Relative folders are skipped: the working folder is the game's data, and
// nothing there should be taken for a desktop helper.
std::string QelFileDialog::FindOnSearchPath(const std::string& program) const
{
    std::vector<std::string> folders;
    SplitString(searchPath_, ":", folders);
    for (const std::string& folder : folders) {
        if (folder.front() != '/')
            continue;
        const std::string candidate = folder + "/" + program;
        if (IsExecutableFile(candidate))
            return candidate;
    }
    return {};
}
