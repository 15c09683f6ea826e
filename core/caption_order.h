#pragma once

#include <string_view>

namespace kestrova {

// The order in which the player list keeps its rows: alphabetical with case
// ignored; only between names that are otherwise equal does case decide,
// lower case first ("alice" < "Bob", "bob" < "Bob"). Other bytes compare by
// value: punctuation and digits before letters, except "{|}~", which follow
// them, and bytes 0x80-0xFF after all of ASCII.
// Returns a negative number, zero or a positive number like strcmp.
int CompareCaptions(std::string_view a, std::string_view b);

}  // namespace kestrova
