// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/simserver/misbehaviour.h"
#include "tools/simserver/reply_style.h"

namespace kestrova::simserver {

// What the command line asks for.
struct ServerOptions final {
  int gamePort = 12203;
  int queryPort = 12300;
  bool frozen = false;
  bool help = false;
  bool version = false;
  std::optional<unsigned> seed;
  std::string scenarioPath;
  std::optional<int> generatedPlayers;
  // Settings given as options, as (key, value), applied over the scenario.
  std::vector<std::pair<std::string, std::string>> settings;
  Misbehaviour faults;
  ReplyStyle style;
  // --loss: the share of reply datagrams lost, and the seed of its draws
  // (none given: drawn from the run's random numbers).
  std::optional<std::pair<double, std::optional<unsigned>>> loss;
};

// Reads the arguments after the program name by ReadOptions' rules, each
// option as often as wanted (a later one wins where they clash). Throws
// std::invalid_argument (UsageError for the options' form) with the reason
// for an unknown option or a bad value.
ServerOptions ParseOptions(const std::vector<std::string>& arguments);

// The text --help prints.
std::string UsageText();

}  // namespace kestrova::simserver
