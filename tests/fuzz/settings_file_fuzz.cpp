// SPDX-License-Identifier: GPL-3.0-or-later
// "data.dat" as the window reads it at start, from any file content; what
// was read is saved and must read back the same.
#include <fcntl.h>
#include <unistd.h>

#include <optional>

#include "fuzz_support.h"
#include "storage/io_error.h"
#include "storage/settings_file.h"

namespace {

using namespace kestrova;

struct Fields final : SettingsTarget {
  std::optional<std::uint32_t> address;
  std::optional<std::string> gamePort;
  std::optional<std::string> queryPort;

  void SetAddress(std::uint32_t value) override { address = value; }
  void SetGamePortText(const std::string& text) override { gamePort = text; }
  void SetQueryPortText(const std::string& text) override { queryPort = text; }
  bool operator==(const Fields& other) const {
    return address == other.address && gamePort == other.gamePort && queryPort == other.queryPort;
  }
};

void WriteFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  FUZZ_CHECK(fd >= 0);
  FUZZ_CHECK(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
  ::close(fd);
}

struct Outcome {
  Fields fields;
  std::optional<int> failure;
};

Outcome Load(const std::string& path) {
  Outcome outcome;
  try {
    LoadSettings(path, outcome.fields);
  } catch (const IoError& error) {
    outcome.failure = error.Code();
  }
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = std::string(fuzz::ScratchFolder()) + "/data.dat";
  WriteFile(path, fuzz::InputText(data, size));
  const Outcome outcome = Load(path);

  // A file of any content is read or fails as invalid numeric input; the
  // fields come in their order and stop at the failure.
  if (outcome.failure) {
    FUZZ_CHECK(*outcome.failure == 106);
    FUZZ_CHECK(!outcome.fields.address && !outcome.fields.gamePort && !outcome.fields.queryPort);
  } else {
    FUZZ_CHECK(outcome.fields.address && outcome.fields.gamePort && outcome.fields.queryPort);
  }
  for (const std::optional<std::string>& line : {outcome.fields.gamePort, outcome.fields.queryPort}) {
    if (line) {
      FUZZ_CHECK(line->size() <= size);
      FUZZ_CHECK(line->find_first_of("\r\x1A") == std::string::npos);
    }
  }
  const Outcome again = Load(path);
  FUZZ_CHECK(again.fields == outcome.fields && again.failure == outcome.failure);

  if (!outcome.failure) {
    SaveSettings(path, SavedEndpoint{*outcome.fields.address, *outcome.fields.gamePort, *outcome.fields.queryPort});
    const Outcome saved = Load(path);
    FUZZ_CHECK(!saved.failure && saved.fields == outcome.fields);
  }
  return 0;
}
