#include "ui/endpoint_fields.h"

#include "ui/address_field.h"
#include "ui/integer_field.h"
#include "ui/text_bytes.h"

namespace kestrova {

EndpointFields::EndpointFields(AddressField& address, IntegerField& gamePort, IntegerField& queryPort)
    : address_(address), gamePort_(gamePort), queryPort_(queryPort) {}

std::uint32_t EndpointFields::Address() const { return address_.Address(); }

std::string EndpointFields::GamePortText() const { return FromDisplayText(gamePort_.text()); }

std::string EndpointFields::QueryPortText() const { return FromDisplayText(queryPort_.text()); }

void EndpointFields::SetAddress(std::uint32_t address) { address_.SetAddress(address); }

void EndpointFields::SetGamePortText(const std::string& text) { gamePort_.setText(ToDisplayText(text)); }

void EndpointFields::SetQueryPortText(const std::string& text) { queryPort_.setText(ToDisplayText(text)); }

void EndpointFields::LockAndSave(const std::string& path) {
  for (QWidget* field :
       {static_cast<QWidget*>(&address_), static_cast<QWidget*>(&gamePort_), static_cast<QWidget*>(&queryPort_)}) {
    field->setEnabled(false);
  }
  SaveSettings(path, SavedEndpoint{Address(), GamePortText(), QueryPortText()});
}

}  // namespace kestrova
