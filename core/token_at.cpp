// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/token_at.h"

#include <stdexcept>

namespace kestrova {

const std::string& TokenAt(const TokenList& tokens, std::size_t index) {
  if (index >= tokens.size()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  }
  return tokens[index];
}

std::string JoinTokensUntil(const TokenList& tokens, std::size_t keyPosition, std::string_view endPattern,
                            std::size_t& last) {
  std::string joined;
  std::size_t j = keyPosition;
  while (true) {
    joined += ' ';
    joined += TokenAt(tokens, j + 1);
    ++j;
    if (Contains(TokenAt(tokens, j + 1), endPattern)) {
      last = j;
      return joined;
    }
  }
}

}  // namespace kestrova
