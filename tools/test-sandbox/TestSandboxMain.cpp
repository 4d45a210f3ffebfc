// test-sandbox: runs one test in folders of its own (see TestSandbox.h) and
// fails it when the game's data folder changed while it ran.
//
//   test-sandbox DATA_FOLDER COMMAND [ARGUMENT...]
//
// Ends with the command's status, or by the command's signal; with status 1
// and the changed paths when the data folder changed; with status 2 when it
// could not start the command.

#include "tools/test-sandbox/TestSandbox.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

constexpr int kExitCannotStart = 2;
constexpr int kExitDataChanged = 1;

pid_t child = 0;

void PassSignalOn(int signal)
{
    if (child > 0)
        kill(child, signal);
}

// In the child: dies with the sandbox (a test runner that kills a test on
// its time-out kills the sandbox), then runs the command.
[[noreturn]] void RunCommand(const TestSandbox& sandbox, pid_t parent, char** command)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(kExitCannotStart);
    for (const auto& [name, value] : sandbox.Environment())
        setenv(name.c_str(), value.c_str(), 1);
    execvp(command[0], command);
    std::fprintf(stderr, "test-sandbox: cannot run %s: %s\n", command[0], std::strerror(errno));
    _exit(kExitCannotStart);
}

// Waits for the command; its status as a wait status.
int WaitForCommand()
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
        std::signal(signal, PassSignalOn);
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return W_EXITCODE(kExitCannotStart, 0);
    return status;
}

bool ReportChanges(const TestSandbox& sandbox, const char* dataFolder)
{
    const std::vector<std::string> changes = sandbox.GameDataChanges();
    if (changes.empty())
        return false;
    std::fprintf(stderr, "test-sandbox: the test changed the game's data folder %s, which tests must never write:\n",
                 dataFolder);
    for (const std::string& path : changes)
        std::fprintf(stderr, "  %s\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: test-sandbox DATA_FOLDER COMMAND [ARGUMENT...]\n", stderr);
        return kExitCannotStart;
    }
    int status = 0;
    bool changed = false;
    try {
        const TestSandbox sandbox(argv[1]);
        const pid_t parent = getpid();
        child = fork();
        if (child < 0) {
            std::perror("test-sandbox: cannot start the test");
            return kExitCannotStart;
        }
        if (child == 0)
            RunCommand(sandbox, parent, argv + 2);
        status = WaitForCommand();
        changed = ReportChanges(sandbox, argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "test-sandbox: %s\n", error.what());
        return kExitCannotStart;
    }
    if (changed)
        return kExitDataChanged;
    if (WIFSIGNALED(status)) {
        std::signal(WTERMSIG(status), SIG_DFL);
        std::raise(WTERMSIG(status));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : EXIT_FAILURE;
}
