// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kestrova {

class DatagramClient;

// The server endpoint as the entry fields show it at this moment. Senders
// read it afresh just before every send.
class EndpointSource {
 public:
  virtual ~EndpointSource() = default;
  // IPv4 address, first octet in the most significant byte.
  virtual std::uint32_t Address() const = 0;
  virtual std::string GamePortText() const = 0;
  virtual std::string QueryPortText() const = 0;
};

// Sets the client's Host to the dotted address and its Port to the strict
// integer value of `portText`; throws ConversionError (nothing changed on
// the port) when the text is not a whole number.
void PointClientAt(DatagramClient& client, std::uint32_t address, const std::string& portText);

}  // namespace kestrova
