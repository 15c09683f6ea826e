#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace kestrova::test {

// kestrova-exporter as a child process listening on a free loopback port.
// The object owns the process: it goes with the object.
class ExporterProcess final {
 public:
  // Starts the exporter with `--listen 127.0.0.1:0` and `arguments`, and
  // waits (bounded) for the line that names its address. Throws
  // std::runtime_error when it does not come; nothing is left running then.
  explicit ExporterProcess(const std::vector<std::string>& arguments = {});
  ~ExporterProcess();
  ExporterProcess(const ExporterProcess&) = delete;
  ExporterProcess& operator=(const ExporterProcess&) = delete;

  // "http://127.0.0.1:PORT".
  const std::string& BaseUrl() const { return baseUrl_; }
  pid_t Pid() const { return pid_; }

  // Sends SIGTERM and waits (bounded) for the exit: its exit code, or -1
  // when it had to be killed or a signal ended it.
  int Terminate();

 private:
  pid_t pid_ = -1;
  std::string baseUrl_;
};

// What an HTTP request brought back.
struct HttpAnswer {
  long status = 0;
  std::string contentType;
  std::string body;
};

// One request to `url` with curl: GET unless `method` names another, with
// `headers` ("Name: value") added. Throws std::runtime_error when no answer
// comes.
HttpAnswer Fetch(const std::string& url, const std::vector<std::string>& headers = {},
                 const std::string& method = "GET");

// The "requests" tally of the simulated server, as numbers: info requests
// received, status requests received.
struct RequestCounts {
  long info = -1;
  long status = -1;
};
RequestCounts ParseRequestTally(const std::string& answer);

}  // namespace kestrova::test
