// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/sim_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace kestrova::test {

namespace {

// Bounds that a loaded machine (or a sanitizer build) stays far inside.
constexpr int kStartTimeoutMs = 15000;
constexpr int kAnswerTimeoutMs = 10000;
constexpr auto kStopTimeout = std::chrono::seconds(5);

void CloseQuietly(int& descriptor) {
  if (descriptor >= 0) {
    ::close(descriptor);
    descriptor = -1;
  }
}

}  // namespace

SimServer::SimServer(const std::vector<std::string>& extraArguments) {
#ifndef KESTROVA_SIMSERVER_PATH
  (void)extraArguments;
  throw std::runtime_error("kestrova-simserver was not built with the tests");
#else
  std::vector<std::string> arguments = {KESTROVA_SIMSERVER_PATH, "--game-port", "0", "--query-port", "0", "--static"};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);

  // Standard input is a socket, so that writing to a server that died
  // gives an error (MSG_NOSIGNAL) instead of killing the test with SIGPIPE.
  int inputPair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, inputPair) != 0) {
    throw std::runtime_error("simulated server: no socket pair for its input");
  }
  int outputPipe[2];
  if (::pipe2(outputPipe, O_CLOEXEC) != 0) {
    ::close(inputPair[0]);
    ::close(inputPair[1]);
    throw std::runtime_error("simulated server: no pipe for its output");
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inputPair[1], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, outputPipe[1], STDOUT_FILENO);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // The test's own sockets and files stay with the test.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
#endif
  int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(inputPair[1]);
  ::close(outputPipe[1]);
  input_ = inputPair[0];
  output_ = outputPipe[0];
  if (spawned != 0) {
    pid_ = -1;
    CloseQuietly(input_);
    CloseQuietly(output_);
    throw std::runtime_error(std::string("simulated server: cannot start ") + argv[0] + ": " + std::strerror(spawned));
  }

  try {
    std::string line = ReadLine(kStartTimeoutMs);
    if (std::sscanf(line.c_str(), "kestrova-simserver game %d query %d", &gamePort_, &queryPort_) != 2) {
      throw std::runtime_error("simulated server: unexpected first line '" + line + "'");
    }
  } catch (...) {
    Stop();
    throw;
  }
#endif
}

SimServer::~SimServer() { Stop(); }

std::string SimServer::Control(const std::string& line) {
  std::string bytes = line + "\n";
  std::size_t written = 0;
  while (written < bytes.size()) {
    ssize_t count = ::send(input_, bytes.data() + written, bytes.size() - written, MSG_NOSIGNAL);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      throw std::runtime_error("simulated server: cannot write the control line '" + line + "'");
    }
    written += static_cast<std::size_t>(count);
  }
  return ReadLine(kAnswerTimeoutMs);
}

void SimServer::CloseControlInput() { CloseQuietly(input_); }

std::string SimServer::ReadLine(int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (std::size_t end = pending_.find('\n'); end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      throw std::runtime_error("simulated server: no answer line in time");
    }
    pollfd ready{output_, POLLIN, 0};
    int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
    if (polled < 0 && errno == EINTR) {
      continue;
    }
    if (polled <= 0) {
      continue;
    }
    char buffer[4096];
    ssize_t count = ::read(output_, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      throw std::runtime_error("simulated server: its output ended");
    }
    pending_.append(buffer, static_cast<std::size_t>(count));
  }
}

void SimServer::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    int status = 0;
    pid_t reaped = 0;
    while ((reaped = ::waitpid(pid_, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (reaped == 0) {
      ::kill(pid_, SIGKILL);
      while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
      }
    }
    pid_ = -1;
  }
  CloseQuietly(input_);
  CloseQuietly(output_);
}

}  // namespace kestrova::test
