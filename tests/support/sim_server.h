// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace kestrova::test {

// The simulated game server (kestrova-simserver) as a child process on
// free loopback ports, with its scores frozen. The object owns the process:
// it goes with the object.
class SimServer final {
 public:
  // Starts the server with `--game-port 0 --query-port 0 --static` and
  // `extraArguments`, and waits (bounded) for the line that names its
  // ports. Throws std::runtime_error when the server cannot be started or
  // does not announce its ports; nothing is left running then.
  explicit SimServer(const std::vector<std::string>& extraArguments = {});
  // Stops the server with SIGTERM (SIGKILL when it does not end in time)
  // and waits for it.
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  int GamePort() const { return gamePort_; }
  int QueryPort() const { return queryPort_; }
  pid_t Pid() const { return pid_; }

  // Writes one control line and returns the server's answer line ("ok" or
  // "error: ...") without its line feed. Throws std::runtime_error when no
  // answer comes within a generous bound.
  std::string Control(const std::string& line);

  // Closes the server's standard input, as when it runs detached.
  void CloseControlInput();

 private:
  std::string ReadLine(int timeoutMs);
  void Stop();

  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string pending_;
  int gamePort_ = 0;
  int queryPort_ = 0;
};

}  // namespace kestrova::test
