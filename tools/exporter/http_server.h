#pragma once

#include <functional>

#include "tools/exporter/exporter_service.h"

struct MHD_Daemon;

namespace kestrova::exporter {

// libmicrohttpd serving a handler on a listening socket, with bounds that
// keep a busy or hostile asker from taking the machine: a pool of
// kWorkerThreads threads, each answering one request at a time (so no more
// probes than that run at once, and further requests wait their turn),
// at most kMostConnections connections, kConnectionMemory bytes for a
// request's line and headers (a longer one is refused by the library with
// 414 or 431), and kIdleSeconds before an idle connection is closed.
class HttpServer final {
 public:
  using Handler = std::function<HttpResponse(const HttpRequest&)>;

  static constexpr unsigned kWorkerThreads = 8;
  static constexpr unsigned kMostConnections = 64;
  static constexpr unsigned kConnectionMemory = 16 * 1024;
  static constexpr unsigned kIdleSeconds = 10;

  // Serves `handler` on `listenSocket`, which it takes over. The handler is
  // called on the pool's threads; an exception it throws becomes a 500
  // answer. Throws std::runtime_error when the library cannot start.
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
