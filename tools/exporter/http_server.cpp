// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exporter/http_server.h"

#include <microhttpd.h>
#include <unistd.h>

#include <stdexcept>
#include <string_view>

namespace kestrova::exporter {

namespace {

MHD_Result AddArgument(void* target, MHD_ValueKind, const char* key, const char* value) {
  static_cast<UrlArguments*>(target)->emplace_back(key,
                                                   value != nullptr ? std::optional<std::string>(value) : std::nullopt);
  return MHD_YES;
}

MHD_Result Send(MHD_Connection* connection, const HttpResponse& answer) {
  MHD_Response* response =
      MHD_create_response_from_buffer(answer.body.size(), const_cast<char*>(answer.body.data()), MHD_RESPMEM_MUST_COPY);
  if (response == nullptr) {
    return MHD_NO;
  }
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, answer.contentType.c_str());
  for (const auto& [name, value] : answer.headers) {
    MHD_add_response_header(response, name.c_str(), value.c_str());
  }
  const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(answer.status), response);
  MHD_destroy_response(response);
  return queued;
}

// What a request's state points at after its first call.
char headersSeen;

// The library's request callback: called once when a request's line and
// headers have come, then for each piece of its body, then once more. A
// GET is answered at that last call, which keeps the connection open for
// the next request; anything else is answered at once, and a body is
// refused when it begins to come, since the exporter takes none.
MHD_Result Answer(void* handlerPointer, MHD_Connection* connection, const char* url, const char* method,
                  const char* /*version*/, const char* /*uploadData*/, size_t* uploadDataSize, void** requestState) {
  const bool firstCall = *requestState == nullptr;
  *requestState = &headersSeen;
  const bool get = std::string_view(method) == MHD_HTTP_METHOD_GET;
  if (firstCall && get) {
    return MHD_YES;
  }
  if (*uploadDataSize != 0) {
    return Send(connection, {413, "text/plain; charset=utf-8", "a request body is not taken\n", {}});
  }
  const auto& handler = *static_cast<const HttpServer::Handler*>(handlerPointer);
  try {
    HttpRequest request;
    request.method = method;
    request.path = url;
    MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &AddArgument, &request.arguments);
    const char* accept = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_ACCEPT);
    request.accept = accept != nullptr ? accept : "";
    return Send(connection, handler(request));
  } catch (const std::exception& failure) {
    return Send(connection, {500, "text/plain; charset=utf-8", std::string(failure.what()) + "\n", {}});
  }
}

}  // namespace

HttpServer::HttpServer(int listenSocket, bool ipv6, Handler handler) : handler_(std::move(handler)) {
  unsigned flags = MHD_USE_THREAD_PER_CONNECTION | MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO | MHD_USE_ERROR_LOG;
  if (ipv6) {
    flags |= MHD_USE_IPv6;
  }
  daemon_ = MHD_start_daemon(flags, 0, nullptr, nullptr, &Answer, &handler_,                 //
                             MHD_OPTION_LISTEN_SOCKET, listenSocket,                         //
                             MHD_OPTION_CONNECTION_LIMIT, kMostConnections,                  //
                             MHD_OPTION_CONNECTION_MEMORY_LIMIT, size_t{kConnectionMemory},  //
                             MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds,                    //
                             MHD_OPTION_END);
  if (daemon_ == nullptr) {
    ::close(listenSocket);
    throw std::runtime_error("the HTTP server library could not start");
  }
}

HttpServer::~HttpServer() { MHD_stop_daemon(daemon_); }

}  // namespace kestrova::exporter
