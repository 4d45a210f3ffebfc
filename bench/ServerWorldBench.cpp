// A realistic world on a real server: halvex-server hosting the bench mission
// (bench/missions/realistic_world: a third of the objects ships cruising
// between waypoints, the rest asteroids, in a 40 km square) with its ticks
// back to back and no consoles. Reports the server process's CPU time per
// tick, which the mission prints at each of its ticks; the first few, while
// the world is made and settles, are left out.
//
// QEL_BENCH_SERVER names another halvex-server to measure (an older build,
// for a comparison); by default the one built beside this benchmark runs.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The mission ticks every 31 world ticks. Measured: from its fourth tick (the
// world was made at the first) to its last.
constexpr int kMissionTickTicks = 31;
constexpr int kSettlingMissionTicks = 3;
constexpr int kMeasuredMissionTicks = 10;

struct CpuAtTick {
    long tick = 0;
    double cpuSeconds = 0.0;
};

std::string ServerPath()
{
    const char* chosen = std::getenv("QEL_BENCH_SERVER");
    return chosen && *chosen ? chosen : QEL_HALVEX_SERVER;
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The server's settings go to a folder of their own, not the player's.
std::string SettingsFolder()
{
    char folder[] = "/tmp/halvex-bench-settings-XXXXXX";
    if (!mkdtemp(folder))
        throw std::runtime_error("could not make a settings folder");
    return folder;
}

// Runs the server to its tick limit and collects what the mission printed.
std::vector<CpuAtTick> HostMission(int objects, const std::string& settings)
{
    const int ticks = kMissionTickTicks * (1 + kSettlingMissionTicks + kMeasuredMissionTicks) + 1;
    const std::string command = "HALVEX_BENCH_OBJECTS=" + std::to_string(objects) +
                                " QEL_SETTINGS_DIR=" + Quoted(settings) + " QEL_NONINTERACTIVE=1 " +
                                Quoted(ServerPath()) + " --data " + Quoted(QEL_BENCH_DATA_DIR) + " --mission " +
                                Quoted(QEL_BENCH_MISSION) + " --port 0 --fast --ticks " + std::to_string(ticks);
    FILE* server = popen(command.c_str(), "r");
    if (!server)
        throw std::runtime_error("could not start " + ServerPath());
    std::vector<CpuAtTick> readings;
    char line[512];
    while (std::fgets(line, sizeof line, server)) {
        CpuAtTick reading;
        if (std::sscanf(line, "bench: tick %ld cpu %lf", &reading.tick, &reading.cpuSeconds) == 2)
            readings.push_back(reading);
    }
    if (pclose(server) != 0)
        throw std::runtime_error(ServerPath() + " did not end cleanly");
    return readings;
}

void BM_RealisticWorldServerTick(benchmark::State& state)
{
    const std::string settings = SettingsFolder();
    for (auto _ : state) {
        const std::vector<CpuAtTick> readings = HostMission(static_cast<int>(state.range(0)), settings);
        if (readings.size() < kSettlingMissionTicks + 2) {
            state.SkipWithError("the mission did not report its ticks");
            break;
        }
        const CpuAtTick& first = readings[kSettlingMissionTicks];
        const CpuAtTick& last = readings.back();
        state.SetIterationTime((last.cpuSeconds - first.cpuSeconds) / static_cast<double>(last.tick - first.tick));
    }
    std::filesystem::remove_all(settings);
}
BENCHMARK(BM_RealisticWorldServerTick)
    ->Arg(1000)
    ->Arg(5000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
