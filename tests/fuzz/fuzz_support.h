// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every fuzz target shares: a check that stops the run with the input
// when a property breaks, and the cutting of one input into several texts.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A property that must hold for every input. A broken one aborts, so
// libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition)                                                                 \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "property broken at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (0)

namespace kestrova::fuzz {

inline std::string_view InputText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Several datagrams (or arguments, or lines) in one input: the pieces
// between the occurrences of `separator`, the empty ones included.
inline std::vector<std::string> SplitInput(std::string_view input, std::string_view separator) {
  std::vector<std::string> pieces;
  for (std::size_t at = input.find(separator); at != std::string_view::npos; at = input.find(separator)) {
    pieces.emplace_back(input.substr(0, at));
    input.remove_prefix(at + separator.size());
  }
  pieces.emplace_back(input);
  return pieces;
}

// How the multi-datagram targets mark where one datagram ends and the next
// begins; their seeds and dictionaries use the same.
inline constexpr std::string_view kDatagramSeparator = "\n%%\n";

// A folder of this process in memory (/dev/shm), so that the file
// targets do not wear a disk; removed with its files when the run ends.
inline const char* ScratchFolder() {
  // A plain array, so that it outlives the string destructors that run at
  // exit before the removal does.
  static char folder[] = "/dev/shm/kestrova-fuzz-XXXXXX";
  static const bool made = [] {
    if (::mkdtemp(folder) == nullptr) {
      std::abort();
    }
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    });
    return true;
  }();
  (void)made;
  return folder;
}

inline std::size_t CountOf(std::string_view text, char c) {
  std::size_t count = 0;
  for (const char byte : text) {
    count += byte == c ? 1 : 0;
  }
  return count;
}

}  // namespace kestrova::fuzz
