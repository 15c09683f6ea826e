// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/endpoint_source.h"

#include "core/datagram_client.h"
#include "core/integer_text.h"
#include "core/reply_text.h"

namespace kestrova {

void PointClientAt(DatagramClient& client, std::uint32_t address, const std::string& portText) {
  client.Host = AddressToText(address);
  client.Port = StrictIntegerValue(portText);
}

}  // namespace kestrova
