// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <random>

#include "tools/simserver/server_options.h"
#include "tools/simserver/server_state.h"

namespace kestrova::simserver {

// The state the server starts with: the defaults, then the scenario file,
// then the settings given as options; the scenario's players, then the
// generated ones (--players wins over the file's players=). sv_maxclients
// is raised to seat them all. Throws std::runtime_error for an unreadable
// file and std::invalid_argument for a bad scenario line.
ServerState InitialState(const ServerOptions& options, std::mt19937& random);

}  // namespace kestrova::simserver
