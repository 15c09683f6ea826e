#pragma once

#include <string>

#include "console/console_output.h"
#include "core/datagram_client.h"
#include "core/endpoint_source.h"

namespace kestrova {

// Sends console commands through the console's own client (UDP3) and shows
// what the server prints back.
class ConsoleExchange final {
 public:
  ConsoleExchange(DatagramClient& udp3, const EndpointSource& endpoint, ConsoleOutput& output);

  // Points UDP3 at the address and game port, shows output of earlier
  // commands still queued on UDP3, sends the out-of-band header followed by
  // `command`, then (when `awaitReply`) waits up to the client's time-out
  // for the first reply datagram and takes those that follow it closely;
  // renders them in order and scrolls the list to its end (also after a
  // time-out or without a wait). Throws ConversionError or the client's
  // errors; nothing of the reply is shown then.
  //
  // Returns false, doing nothing, while another command of this exchange
  // is still waiting for its reply (a command started from inside that
  // wait is ignored rather than nested).
  bool Run(const std::string& command, bool awaitReply);

  bool Busy() const { return busy_; }

 private:
  void ShowReply(const std::string& reply);

  DatagramClient& udp3_;
  const EndpointSource& endpoint_;
  ConsoleOutput& output_;
  bool busy_ = false;
};

}  // namespace kestrova
