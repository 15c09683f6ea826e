// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kestrova {

// Reads one environment variable; std::nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The per-user folder for the programs' files: $XDG_DATA_HOME/kestrova when
// XDG_DATA_HOME holds an absolute path, else $HOME/.local/share/kestrova,
// with the user's home from the password database when HOME is unset or
// empty. Throws std::runtime_error when no home folder can be found.
std::filesystem::path PerUserFolder(const EnvironmentLookup& environment);

// Makes `folder` and every missing parent (each new one with `mode`, less
// the umask) and makes it the process's working folder. Throws
// std::runtime_error whose what() names the folder and the reason.
void EnterWorkingFolder(const std::filesystem::path& folder, mode_t mode);

// The folder that --folder names, entered: `text` itself, or the per-user
// folder (made readable by its owner only) when `text` is empty. Returns
// the folder entered; throws std::runtime_error as EnterWorkingFolder does.
std::filesystem::path EnterFolderOption(const std::string& text, const EnvironmentLookup& environment);

// The process's environment.
std::optional<std::string> ProcessEnvironment(const std::string& name);

}  // namespace kestrova
