#include "core/token_at.h"

#include <stdexcept>

namespace kestrova {

const std::string& TokenAt(const TokenList& tokens, std::size_t index) {
  if (index >= tokens.size()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  }
  return tokens[index];
}

}  // namespace kestrova
