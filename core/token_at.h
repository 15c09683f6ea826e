// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/reply_text.h"

namespace kestrova {

// Token `index` of a reply list. A reply that breaks off leaves a key
// without its value; reading past the end throws std::out_of_range with
// "List index out of bounds (INDEX)", which ends the query where it stands.
const std::string& TokenAt(const TokenList& tokens, std::size_t index);

// A value that may hold blanks (a host or player name) arrives as several
// tokens after its key at `keyPosition`. The join takes the token right
// after the key whatever it holds, then every further token up to the first
// one that contains `endPattern` (the next key); each taken token is
// preceded by one blank. Sets `last` to the position of the last taken
// token. Throws std::out_of_range when the list ends first.
std::string JoinTokensUntil(const TokenList& tokens, std::size_t keyPosition, std::string_view endPattern,
                            std::size_t& last);

}  // namespace kestrova
