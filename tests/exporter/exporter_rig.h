// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "support/child_program.h"

namespace kestrova::test {

// kestrova-exporter as a child process listening on a free loopback port.
class ExporterProcess final {
 public:
  // Starts the exporter with `--listen 127.0.0.1:0` and `arguments`, and
  // waits (bounded) for the line that names its address. Throws
  // std::runtime_error when it does not come.
  explicit ExporterProcess(const std::vector<std::string>& arguments = {});

  // "http://127.0.0.1:PORT".
  const std::string& BaseUrl() const { return baseUrl_; }
  pid_t Pid() const { return program_->Pid(); }

  // Sends SIGTERM and waits (bounded) for the exit: its exit code, or -1
  // when it did not end in time or a signal ended it.
  int Terminate();

 private:
  std::unique_ptr<ChildProgram> program_;
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

}  // namespace kestrova::test
