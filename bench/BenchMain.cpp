// The benchmarks' entry: the game's data is found first (the data folder of
// the source tree they were built from when the working folder has none), so
// a benchmark started from any folder runs, or says where it looked; then
// Google Benchmark's own steps. A benchmark that fails says why instead of
// ending in an uncaught exception.

#include "engine/base/QelDataFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
    if (!qel::UseDataFolderOr(QEL_BENCH_DATA_DIR)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], qel::MissingDataFolderText().c_str());
        return EXIT_FAILURE;
    }
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
