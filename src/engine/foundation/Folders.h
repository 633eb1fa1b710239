#pragma once

#include <cstdint>
#include <string>

// The folders the game reads from and writes to, and operations on folder
// trees. Paths use '/'. The folder functions are cached after their first
// use, may be called from any thread, and return their path whether or not
// the folder could be made: later file operations fail on their own.

// The folder holding the program file; empty when it cannot be had.
std::string GetProgramFolder();

// The current folder; not cached.
std::string GetCurrentFolder();

// <per-user data folder>/Quelt/Games, or the program folder when there is no
// per-user data folder.
std::string GetSharedDataFolder();

// The shared data folder and the game's name below it (the shared data
// folder itself when there is no per-user data folder).
std::string GetGameDataFolder();

// "_temp" below the game data folder: caches, the log and the usage report.
std::string GetGameTempFolder();

// Makes the folder and any missing parents; failures are silent.
void MakeDirectoryChain(const std::string& path);

// Deletes a folder with everything in it. Links inside are removed, never
// followed; a link given as the folder, a path shorter than two characters
// and a path ending in "." or ".." are refused. Goes on after a failure and
// is true only when everything was deleted.
bool DeleteFolderTree(const std::string& path);

// Size of a file in bytes; 0 when it cannot be examined.
uint32_t GetFileSize(const std::string& path);

// Files are private to the user here, so there is nothing to open up; kept
// so that writers can state the intent.
bool GrantEveryoneAccess(const std::string& path);

// Drops the cached folders, so that a test can point the per-user folders
// elsewhere.
void ForgetFoldersForTesting();
