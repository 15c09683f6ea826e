// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrova {

// A side program's command line does not follow its usage; what() says
// why, on one line.
class UsageError final : public std::invalid_argument {
 public:
  explicit UsageError(const std::string& reason) : std::invalid_argument(reason) {}
};

// A long option of a side program: its name without the dashes, and
// whether it takes a value.
struct LongOption {
  std::string_view name;
  bool takesValue = false;
};

// A command line as read.
struct OptionsRead {
  // "--help" or "--version" when either stood among the options (not as
  // another option's value), the first of them deciding; nothing else is
  // read then.
  std::string asks;
  // The options in the order given, each as its name with the dashes
  // ("--game-port") and its value ("" for one that takes none).
  std::vector<std::pair<std::string, std::string>> options;
  std::vector<std::string> operands;
};

// Whether an option may be given more than once.
enum class Repeats { Refused, Allowed };

// Reads the arguments after a program's name with getopt_long: the long
// options in `options` and --help and --version, written out in full,
// their values as "--name value" or "--name=value" and taken verbatim (an
// empty one, or one starting with "-", included); up to `mostOperands`
// operands anywhere among them; "--" ends the options. Throws UsageError
// for the first argument that breaks these rules ("unknown option '-x'",
// "--name needs a value", "--name takes no value", "--name is given twice",
// "unexpected argument 'x'", a bad argument quoted by QuotedArgument),
// unless --help or --version was asked for.
OptionsRead ReadOptions(const std::vector<std::string>& arguments, std::span<const LongOption> options,
                        std::size_t mostOperands = 0, Repeats repeats = Repeats::Refused);

}  // namespace kestrova
