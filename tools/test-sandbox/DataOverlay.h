#pragma once
// A test's own data folder made from the game's: every folder made anew,
// every file a test or the game might change copied, and only the generated
// art, sound and meshes (large, and only ever read or replaced whole by the
// game) linked. Whatever a test writes there stays there; a file the game
// replaces (written beside it and renamed over it) replaces the link, never
// what the link points at.

#include <filesystem>
#include <string>
#include <vector>

// True for the files the overlay links instead of copying, by their
// extension: images, sounds, meshes, fonts and the caches made from them.
bool IsLinkedAsset(const std::filesystem::path& file);

// Makes the overlay of source in target (which must not exist yet). Links
// found in source are made again with the same target, made absolute.
// Throws std::filesystem::filesystem_error when a file cannot be made.
void MakeDataOverlay(const std::filesystem::path& source, const std::filesystem::path& target);

// The paths below source (relative to it, "." for source itself) whose
// content changed at or after the stamp: written files, and folders in which
// something was added, removed or renamed. Links are not followed.
std::vector<std::string> ChangedSince(const std::filesystem::path& source, std::filesystem::file_time_type stamp);
