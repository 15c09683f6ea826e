// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kestrova {

inline constexpr char kSettingsFileName[] = "data.dat";

// The fields the settings file fills, in the order it reads them.
class SettingsTarget {
 public:
  virtual ~SettingsTarget() = default;
  virtual void SetAddress(std::uint32_t address) = 0;
  virtual void SetGamePortText(const std::string& text) = 0;
  virtual void SetQueryPortText(const std::string& text) = 0;
};

struct SavedEndpoint {
  std::uint32_t address = 0;
  std::string gamePortText;
  std::string queryPortText;
};

// Reads the endpoint from `path` into `target`. A missing file, a
// directory of that name, or a name behind a folder without search
// permission (whether a file is there cannot be told) is no failure:
// nothing is set. Throws IoError at
// the first failing read; fields set before it keep their new values.
void LoadSettings(const std::string& path, SettingsTarget& target);

// The eight CR LF lines that hold `endpoint`.
std::string SettingsFileBytes(const SavedEndpoint& endpoint);

// Writes the file beside the old one and replaces the old one only once the
// new one is complete, so a failed save never destroys the endpoint already
// on disk. Where the folder takes no new file but the old one is writable,
// the old one is rewritten in place (see ReplaceFile). Throws IoError.
void SaveSettings(const std::string& path, const SavedEndpoint& endpoint);

}  // namespace kestrova
