// The benchmarks' entry: the game's data is found first (the data folder of
// the source tree they were built from when the working folder has none), so
// a benchmark started from any folder runs, or says where it looked; then
// Google Benchmark's own steps. A benchmark that fails says why instead of
// ending in an uncaught exception.
//
// The game's code writes files of its data and settings folders as it runs
// (the hot-key table, for one), so the benchmarks, and the programs they
// start, work in a copy of their own, removed at the end: a benchmark never
// changes a player's files.

#include "engine/base/QelDataFolder.h"
#include "tools/test-sandbox/TestSandbox.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>

int main(int argc, char** argv)
{
    const std::optional<std::filesystem::path> data = qel::UseDataFolderOr(QEL_BENCH_DATA_DIR);
    if (!data) {
        std::fprintf(stderr, "%s: %s\n", argv[0], qel::MissingDataFolderText().c_str());
        return EXIT_FAILURE;
    }
    std::optional<TestSandbox> folders;
    try {
        folders.emplace(*data);
    } catch (const std::filesystem::filesystem_error& error) {
        std::fprintf(stderr, "%s: cannot make its own data folder: %s\n", argv[0], error.what());
        return EXIT_FAILURE;
    }
    for (const auto& [name, value] : folders->Environment())
        setenv(name.c_str(), value.c_str(), 1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return EXIT_FAILURE;
    try {
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return EXIT_FAILURE;
    }
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
