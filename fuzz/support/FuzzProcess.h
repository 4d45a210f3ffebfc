#pragma once
// What every fuzz target sets up once per process, and how it reports a
// fault that is no crash by itself (a wrong result, a message sent corrupt):
// it aborts, so libFuzzer keeps the input that showed it.

#include <cstddef>
#include <filesystem>
#include <string>

// Idempotent: the environment of a quiet, windowless run (settings in a
// private folder, no message box waits), the game's data folder (the source
// tree's when none is given; a clear message and exit when there is none),
// the preferences and the behaviour hooks.
void PrepareFuzzProcess();

// A private folder for the readers that read files; it starts empty and
// lives until the process ends.
const std::filesystem::path& FuzzScratchFolder();

// A data folder of the target's own, made the process's data folder, for the
// readers of files the game finds there: it holds a link to the game's ship
// list, and whatever the target writes.
const std::filesystem::path& UseScratchDataFolder();

// Writes the bytes to the file exactly, replacing it.
void WriteFuzzFile(const std::filesystem::path& path, const void* data, size_t size);

// Prints "fuzz check failed: <what>" and aborts.
[[noreturn]] void FuzzCheckFailed(const std::string& what);

#define QEL_FUZZ_CHECK(condition, what) \
    do {                                \
        if (!(condition))               \
            FuzzCheckFailed(what);      \
    } while (false)
