// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/arguments/option_reader.h"

#include <getopt.h>

#include <algorithm>
#include <optional>

#include "tools/arguments/argument_text.h"

namespace kestrova {

namespace {

// getopt_long's value for the option at index i of its table; above every
// character, so that an unknown short option never looks like one.
constexpr int kFirstOption = 256;

}  // namespace

OptionsRead ReadOptions(const std::vector<std::string>& arguments, std::span<const LongOption> options,
                        std::size_t mostOperands, Repeats repeats) {
  std::vector<std::string> names;
  std::vector<bool> takesValue;
  for (const LongOption& option : options) {
    names.emplace_back(option.name);
    takesValue.push_back(option.takesValue);
  }
  const int help = static_cast<int>(names.size());
  names.emplace_back("help");
  names.emplace_back("version");
  takesValue.resize(names.size(), false);
  std::vector<option> table;
  for (std::size_t i = 0; i < names.size(); ++i) {
    table.push_back({names[i].c_str(), takesValue[i] ? required_argument : no_argument, nullptr,
                     kFirstOption + static_cast<int>(i)});
  }
  table.push_back({nullptr, 0, nullptr, 0});

  // getopt_long may reorder the pointers it is given, and wants a program
  // name in front.
  std::vector<std::string> texts{"program"};
  texts.insert(texts.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(texts.size());

  OptionsRead read;
  std::optional<UsageError> failure;
  auto fail = [&failure](const std::string& reason) {
    if (!failure) failure.emplace(reason);
  };
  auto operand = [&](const char* text) {
    if (read.operands.size() < mostOperands) {
      read.operands.emplace_back(text);
    } else {
      fail("unexpected argument " + QuotedArgument(text));
    }
  };
  std::vector<bool> given(names.size(), false);

  // 0 makes GNU getopt start afresh, whatever an earlier reading left; no
  // messages of its own. "-" returns operands in place (as 1), whatever
  // POSIXLY_CORRECT says; ":" tells a missing value (':') from the rest.
  optind = 0;
  opterr = 0;
  for (;;) {
    const int at = std::max(optind, 1);
    const int got = getopt_long(argc, argv.data(), "-:", table.data(), nullptr);
    if (got == -1) break;
    if (got == 1) {
      operand(optarg);
      continue;
    }
    const std::string argument = argv[at];
    // The option getopt_long took, or the one it refused a value for or
    // missed one of; -1 for an unknown one.
    const int index = got >= kFirstOption ? got - kFirstOption : optopt >= kFirstOption ? optopt - kFirstOption : -1;
    // Only the full name counts, not an abbreviation of it.
    const std::string_view written = std::string_view(argument).substr(0, argument.find('='));
    if (index < 0 || written != "--" + names[static_cast<std::size_t>(index)]) {
      fail("unknown option " + QuotedArgument(argument));
      continue;
    }
    const std::string name(written);
    if (got == ':') {
      fail(name + " needs a value");
    } else if (got == '?') {
      fail(name + " takes no value");
    } else if (index >= help) {
      if (read.asks.empty()) read.asks = name;
    } else if (given[static_cast<std::size_t>(index)] && repeats == Repeats::Refused) {
      fail(name + " is given twice");
    } else {
      given[static_cast<std::size_t>(index)] = true;
      read.options.emplace_back(name, optarg != nullptr ? optarg : "");
    }
  }
  // What follows "--".
  for (int i = optind; i < argc; ++i) operand(argv[static_cast<std::size_t>(i)]);

  if (!read.asks.empty()) return {read.asks, {}, {}};
  if (failure) throw *failure;
  return read;
}

}  // namespace kestrova
