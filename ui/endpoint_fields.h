#pragma once

#include <cstdint>
#include <string>

#include "core/endpoint_source.h"
#include "storage/settings_file.h"

namespace kestrova {

class AddressField;
class IntegerField;

// The server's endpoint as the user types it: the address field (IPEdit)
// and the game and query port fields (Edit2, Edit3). The queries, the
// console and the notifications read it; the settings file fills it.
class EndpointFields final : public EndpointSource, public SettingsTarget {
 public:
  EndpointFields(AddressField& address, IntegerField& gamePort, IntegerField& queryPort);

  std::uint32_t Address() const override;
  std::string GamePortText() const override;
  std::string QueryPortText() const override;

  void SetAddress(std::uint32_t address) override;
  void SetGamePortText(const std::string& text) override;
  void SetQueryPortText(const std::string& text) override;

  // START's entry: the fields are disabled for good and what they hold is
  // saved to the settings file `path`. Throws IoError when it cannot be
  // written.
  void LockAndSave(const std::string& path);

 private:
  AddressField& address_;
  IntegerField& gamePort_;
  IntegerField& queryPort_;
};

}  // namespace kestrova
