#pragma once
#include <optional>
#include <string>

// Where the editor keeps what outlives it: the per-user folder with the settings file, and the
// preset folder below it. Main thread only.

// HOME, or the user database's home directory when HOME is not set (or empty); nothing when neither gives
// one (the first such answer in a process says so on standard error).
std::optional<std::string> homeFolder();

// The per-user folder home/.tonequarry/Scorchwire, created when it does not exist yet (a failure
// is reported on standard output and the path is returned all the same); nothing without a home.
std::optional<std::string> getApplicationPath();

// home/.tonequarry/Scorchwire/Presets, never created here; nothing without a home.
std::optional<std::string> presetFolder();
