#pragma once

#include <cstddef>
#include <string>

#include "core/reply_text.h"

namespace kestrova {

// Token `index` of a reply list. A reply that breaks off leaves a key
// without its value; reading past the end throws std::out_of_range with
// "List index out of bounds (INDEX)", which ends the query where it stands.
const std::string& TokenAt(const TokenList& tokens, std::size_t index);

}  // namespace kestrova
