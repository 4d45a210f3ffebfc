// Start-up to the first drawn frame: the game itself (halvex, built beside
// this benchmark) started under SDL's offscreen driver with llvmpipe given
// two rasterizer threads, timed from its start until it reports its first
// presented frame (the start screen), then ended. Each iteration is one
// whole start in a settings folder of its own; the goal is one second.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// A start that has drawn nothing after this long has failed.
constexpr int kStartDeadlineMs = 60000;
const char* const kReport = "first frame presented\n";

struct Started {
    pid_t pid = -1;
    int output = -1;  // the game's standard output
};

// The game with the benchmark's environment and these settings.
Started Start(const std::string& settingsFolder)
{
    std::vector<std::string> variables;
    for (char** v = environ; *v != nullptr; ++v)
        variables.emplace_back(*v);
    for (const char* variable : {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy", "QEL_NONINTERACTIVE=1",
                                 "QEL_REPORT_FIRST_FRAME=1"})
        variables.emplace_back(variable);
    if (std::getenv("LP_NUM_THREADS") == nullptr)
        variables.emplace_back("LP_NUM_THREADS=2");
    variables.push_back("QEL_SETTINGS_DIR=" + settingsFolder);
    std::vector<char*> environment;
    for (std::string& variable : variables)
        environment.push_back(variable.data());
    environment.push_back(nullptr);

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char program[] = QEL_HALVEX_PATH;
    char* arguments[] = {program, nullptr};
    Started started;
    if (posix_spawn(&started.pid, program, &actions, nullptr, arguments, environment.data()) != 0)
        started.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    started.output = pipeEnds[0];
    return started;
}

// Reads the game's output until the report, or the deadline.
bool AwaitReport(int output)
{
    std::string seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartDeadlineMs);
    while (seen.find(kReport) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{output, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            return false;
        char buffer[256];
        const ssize_t count = read(output, buffer, sizeof(buffer));
        if (count <= 0)
            return false;  // the game ended
        seen.append(buffer, static_cast<size_t>(count));
    }
    return true;
}

void End(const Started& started)
{
    if (started.pid > 0) {
        kill(started.pid, SIGTERM);
        int status = 0;
        waitpid(started.pid, &status, 0);
    }
    if (started.output >= 0)
        close(started.output);
}

void BM_StartupToFirstFrame(benchmark::State& state)
{
    char pattern[] = "/tmp/halvex-startup-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        state.SkipWithError("no temporary settings folder");
        return;
    }
    const std::string settings = pattern;
    for (auto _ : state) {
        const auto begun = std::chrono::steady_clock::now();
        const Started started = Start(settings);
        const bool reported = started.pid > 0 && AwaitReport(started.output);
        const auto shown = std::chrono::steady_clock::now();
        End(started);
        if (!reported) {
            state.SkipWithError("the game drew no frame (no GL 3.3 on the offscreen driver, or it failed)");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - begun).count());
    }
    std::filesystem::remove_all(settings);
}
BENCHMARK(BM_StartupToFirstFrame)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
