// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// What the command line of a window program asks for.
struct ProgramArguments final {
  bool help = false;
  bool version = false;
  // The text of --folder; empty asks for the per-user folder.
  std::optional<std::string> folder;
  // Qt's own options with their values, in the order given, for
  // QApplication to read.
  std::vector<std::string> qtArguments;

  friend bool operator==(const ProgramArguments&, const ProgramArguments&) = default;
};

// The command line is not one the program accepts; what() says why.
class CommandLineError final : public std::runtime_error {
 public:
  explicit CommandLineError(const std::string& reason) : std::runtime_error(reason) {}
};

// Reads the arguments after the program name: --help, --version,
// --folder DIR (also --folder=DIR), and Qt's own options (-platform NAME,
// -style NAME, -display NAME, -reverse, ...; with one dash or two), which
// are passed on unchanged. Throws CommandLineError for an unknown option,
// a missing value, a second --folder or any argument that is no option.
ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments);

// The text --help prints for `program`; `summary` is the paragraph that
// says what this build does.
std::string ProgramUsage(std::string_view program, std::string_view summary);

}  // namespace kestrova
