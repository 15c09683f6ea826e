// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/child_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "support/temp_dir.h"

extern char** environ;

namespace kestrova::test {

namespace {

std::vector<std::string> ChangedEnvironment(const EnvironmentChanges& changes) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable(*entry);
    if (!changes.contains(variable.substr(0, variable.find('=')))) {
      result.push_back(variable);
    }
  }
  for (const auto& [name, value] : changes) {
    if (value) {
      result.push_back(name + "=" + *value);
    }
  }
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) {
    pointers.push_back(text.data());
  }
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProgram::ChildProgram(const std::string& path, const std::vector<std::string>& arguments,
                           const EnvironmentChanges& environment, const std::string& input) {
  std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-child-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a folder for the child's output");
  }
  files_ = pattern;
  const std::string out = (files_ / "out").string();
  const std::string err = (files_ / "err").string();

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> argumentTexts{path};
  argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environmentTexts = ChangedEnvironment(environment);
  const int failed = posix_spawn(&pid_, path.c_str(), &actions, nullptr, Pointers(argumentTexts).data(),
                                 Pointers(environmentTexts).data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    std::filesystem::remove_all(files_);
    throw std::runtime_error("cannot start " + path);
  }
}

ChildProgram::~ChildProgram() {
  if (!exitCode_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ignored;
  std::filesystem::remove_all(files_, ignored);
}

std::optional<int> ChildProgram::WaitForExit(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!exitCode_) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    } else if (std::chrono::steady_clock::now() > end) {
      break;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  return exitCode_;
}

std::string ChildProgram::Out() const { return ReadFileBytes(files_ / "out"); }
std::string ChildProgram::Err() const { return ReadFileBytes(files_ / "err"); }

std::filesystem::path ChildProgram::WorkingFolder() const {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::read_symlink("/proc/" + std::to_string(pid_) + "/cwd", error);
  return error ? std::filesystem::path() : folder;
}

ProgramRun RunToEnd(const std::string& path, const std::vector<std::string>& arguments,
                    const EnvironmentChanges& environment) {
  ChildProgram child(path, arguments, environment);
  const std::optional<int> exitCode = child.WaitForExit(std::chrono::seconds(60));
  return ProgramRun{exitCode.value_or(-1), child.Out(), child.Err()};
}

}  // namespace kestrova::test
