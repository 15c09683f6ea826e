// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "storage/io_error.h"
#include "storage/settings_file.h"

namespace kestrova::test {

// The message of the IoError that `action` throws; empty when it throws
// none.
template <typename Action>
std::string IoErrorOf(Action&& action) {
  try {
    action();
  } catch (const IoError& error) {
    return error.what();
  }
  return "";
}

// The message of a save of `endpoint` to `path`; empty when it was saved.
inline std::string SaveError(const std::filesystem::path& path, const SavedEndpoint& endpoint) {
  return IoErrorOf([&] { SaveSettings(path.string(), endpoint); });
}

}  // namespace kestrova::test
