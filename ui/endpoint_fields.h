// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "core/endpoint_source.h"
#include "storage/settings_file.h"
#include "ui/address_field.h"
#include "ui/integer_field.h"
#include "ui/text_bytes.h"

namespace kestrova {

// The server's endpoint as the user types it: the address field (IPEdit)
// and the game and query port fields (Edit2, Edit3). The queries, the
// console and the notifications read it; the settings file fills it.
class EndpointFields final : public EndpointSource, public SettingsTarget {
 public:
  EndpointFields(AddressField& address, IntegerField& gamePort, IntegerField& queryPort)
      : address_(address), gamePort_(gamePort), queryPort_(queryPort) {}

  std::uint32_t Address() const override { return address_.Address(); }
  std::string GamePortText() const override { return FromDisplayText(gamePort_.text()); }
  std::string QueryPortText() const override { return FromDisplayText(queryPort_.text()); }

  void SetAddress(std::uint32_t address) override { address_.SetAddress(address); }
  void SetGamePortText(const std::string& text) override { gamePort_.setText(ToDisplayText(text)); }
  void SetQueryPortText(const std::string& text) override { queryPort_.setText(ToDisplayText(text)); }

  // START's entry: the fields are disabled for good and what they hold is
  // saved to the settings file `path`. Throws IoError when it cannot be
  // written.
  void LockAndSave(const std::string& path) {
    address_.setEnabled(false);
    gamePort_.setEnabled(false);
    queryPort_.setEnabled(false);
    SaveSettings(path, SavedEndpoint{Address(), GamePortText(), QueryPortText()});
  }

 private:
  AddressField& address_;
  IntegerField& gamePort_;
  IntegerField& queryPort_;
};

}  // namespace kestrova
