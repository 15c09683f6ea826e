// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "storage/settings_file.h"

namespace kestrova::test {

// Remembers which fields loading set, and to what.
class RecordingSettingsTarget final : public SettingsTarget {
 public:
  void SetAddress(std::uint32_t value) override { address = value; }
  void SetGamePortText(const std::string& text) override { gamePort = text; }
  void SetQueryPortText(const std::string& text) override { queryPort = text; }

  std::optional<std::uint32_t> address;
  std::optional<std::string> gamePort;
  std::optional<std::string> queryPort;
};

}  // namespace kestrova::test
