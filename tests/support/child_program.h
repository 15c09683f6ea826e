// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrova::test {

// Changes to the environment of a child: a value sets the variable, nullopt
// removes it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

// One of the built programs run as a child process, its standard output and
// error written to files in a folder of its own, its standard input
// /dev/null unless another file is named. The object owns the process: a
// child still running when the object goes is killed and reaped.
class ChildProgram final {
 public:
  // Starts `path` with `arguments` in the current folder. Throws
  // std::runtime_error when it cannot be started.
  ChildProgram(const std::string& path, const std::vector<std::string>& arguments,
               const EnvironmentChanges& environment = {}, const std::string& input = "/dev/null");
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  pid_t Pid() const { return pid_; }
  // The exit code once the program has ended within `limit` (-1 when a
  // signal ended it); nullopt while it still runs.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);
  // What the program wrote so far.
  std::string Out() const;
  std::string Err() const;
  // The program's working folder, as the kernel reports it; empty once it
  // has ended.
  std::filesystem::path WorkingFolder() const;

 private:
  std::filesystem::path files_;
  pid_t pid_ = -1;
  std::optional<int> exitCode_;
};

// What a program that ran to its end left behind.
struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs `path` to its end (a generous bound; a program still running then
// counts as exit code -1).
ProgramRun RunToEnd(const std::string& path, const std::vector<std::string>& arguments,
                    const EnvironmentChanges& environment = {});

}  // namespace kestrova::test
