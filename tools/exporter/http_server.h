// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "tools/exporter/exporter_service.h"

struct MHD_Daemon;

namespace kestrova::exporter {

// libmicrohttpd serving a handler on a listening socket, with bounds that
// keep a busy or hostile asker from taking the machine: at most
// kMostConnections connections, each served by a thread of its own (a
// handler may wait a second or two for a silent game server, and a thread
// shared by several connections would hold them all that long),
// kConnectionMemory bytes for a request's line and headers (a longer one is
// refused by the library with 414 or 431), and kIdleSeconds before an idle
// connection is closed.
class HttpServer final {
 public:
  using Handler = std::function<HttpResponse(const HttpRequest&)>;

  static constexpr unsigned kMostConnections = 64;
  static constexpr unsigned kConnectionMemory = 16 * 1024;
  static constexpr unsigned kIdleSeconds = 10;

  // Serves `handler` on `listenSocket`, which it takes over. The handler is
  // called on the connections' threads; an exception it throws becomes a
  // 500 answer. Throws std::runtime_error when the library cannot start.
  HttpServer(int listenSocket, bool ipv6, Handler handler);
  // Stops taking connections, lets the running requests finish and ends
  // the threads.
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

 private:
  Handler handler_;
  MHD_Daemon* daemon_ = nullptr;
};

}  // namespace kestrova::exporter
