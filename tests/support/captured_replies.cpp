// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/captured_replies.h"

#include <filesystem>
#include <stdexcept>

#include "support/temp_dir.h"

namespace kestrova::test {

std::vector<std::string> CapturedDatagrams(const std::string& name) {
  const std::filesystem::path folder = std::filesystem::path(KESTROVA_TEST_DATA_DIR) / "peer-replies";
  std::vector<std::string> datagrams;
  for (int number = 1;; ++number) {
    const std::filesystem::path file = folder / (name + "." + std::to_string(number) + ".bin");
    if (!std::filesystem::exists(file)) {
      break;
    }
    datagrams.push_back(ReadFileBytes(file));
  }
  if (datagrams.empty()) {
    throw std::runtime_error("no captured reply " + name + " in " + folder.string());
  }
  return datagrams;
}

}  // namespace kestrova::test
