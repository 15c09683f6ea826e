// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "support/temp_dir.h"

extern char** environ;

namespace kestrova::test {

namespace {

void Check(int result, const char* what) {
  if (result != 0) {
    throw std::system_error(result, std::generic_category(), what);
  }
}

}  // namespace

ToolResult RunProgram(const std::string& path, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment) {
  int outPipe[2];
  int errPipe[2];
  // Close-on-exec, so only the copies made for the child's output survive in it.
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
    throw std::system_error(errno, std::generic_category(), "pipe");
  }

  posix_spawn_file_actions_t actions;
  Check(posix_spawn_file_actions_init(&actions), "posix_spawn_file_actions_init");
  Check(posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO), "adddup2");
  Check(posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO), "adddup2");

  std::vector<std::string> argv_strings{path};
  argv_strings.insert(argv_strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argv_strings) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);

  std::vector<std::string> variables;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string entry = *variable;
    const std::string name = entry.substr(0, entry.find('='));
    const bool replaced = std::any_of(environment.begin(), environment.end(),
                                      [&](const std::string& over) { return over.substr(0, over.find('=')) == name; });
    if (!replaced) {
      variables.push_back(entry);
    }
  }
  variables.insert(variables.end(), environment.begin(), environment.end());
  std::vector<char*> envp;
  for (std::string& variable : variables) {
    envp.push_back(variable.data());
  }
  envp.push_back(nullptr);

  pid_t child = 0;
  const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  if (spawned != 0) {
    close(outPipe[0]);
    close(errPipe[0]);
    throw std::system_error(spawned, std::generic_category(), "posix_spawn " + path);
  }

  ToolResult result;
  // Both pipes are drained together, so a program that fills one of them
  // cannot stall while the other is read.
  std::array<pollfd, 2> fds{{{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}}};
  std::array<std::string*, 2> sinks{&result.out, &result.err};
  int open = 2;
  while (open > 0) {
    if (poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      break;
    }
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) {
        continue;
      }
      char buffer[4096];
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }

  for (const pollfd& fd : fds) {
    if (fd.fd >= 0) {
      close(fd.fd);
    }
  }

  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

ToolResult ParseMetrics(const std::string& metrics) {
  const TempDir folder;
  WriteFileBytes(folder / "metrics.prom", metrics);
  return RunProgram("/usr/bin/python3", {std::string(KESTROVA_SOURCE_DIR) + "/tests/query_tool/parse_openmetrics.py",
                                         (folder / "metrics.prom").string()});
}

}  // namespace kestrova::test
