// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "storage/file_replace.h"
#include "storage/io_error.h"
#include "storage/posix_file.h"
#include "storage/text_file_reader.h"

namespace kestrova {

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kHeaderLine[] = "# This file should not be edited, it will be changed by program itself.";
// The third weight reads 256^2 in the file everyone already has; the value
// itself uses 256 for the third octet.
constexpr char kAddressCommentLine[] = "# IP address as a number 256^3*aaa+256^2*bbb+256^2*ccc+ddd";
constexpr char kGamePortCommentLine[] = "# hostport";
constexpr char kQueryPortCommentLine[] = "# outbondport";

// Whether a regular file (or anything but a folder) is there to be read.
// A name whose existence cannot be told, behind a folder we may not
// search, counts as missing: there is nothing we could load from it.
bool SettingsFileExists(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR || errno == EACCES) {
      return false;
    }
    ThrowIoErrorFromErrno(errno);
  }
  return !S_ISDIR(info.st_mode);
}

}  // namespace

void LoadSettings(const std::string& path, SettingsTarget& target) {
  if (!SettingsFileExists(path)) {
    return;
  }
  PosixFile file(path, O_RDONLY | O_CLOEXEC);
  TextFileReader reader(file);
  for (int line = 0; line < 3; ++line) {
    reader.SkipLine();
  }
  const std::int64_t address = reader.ReadIntegerToken();
  reader.SkipLine();
  target.SetAddress(static_cast<std::uint32_t>(address));
  reader.SkipLine();
  target.SetGamePortText(reader.ReadLine());
  reader.SkipLine();
  target.SetQueryPortText(reader.ReadLine());
  file.Close();
}

std::string SettingsFileBytes(const SavedEndpoint& endpoint) {
  std::string bytes;
  for (const std::string& line : {std::string(kHeaderLine), std::string("#"), std::string(kAddressCommentLine),
                                  std::to_string(endpoint.address), std::string(kGamePortCommentLine),
                                  endpoint.gamePortText, std::string(kQueryPortCommentLine), endpoint.queryPortText}) {
    bytes += line;
    bytes += kLineEnd;
  }
  return bytes;
}

void SaveSettings(const std::string& path, const SavedEndpoint& endpoint) {
  ReplaceFile(path, SettingsFileBytes(endpoint));
}

}  // namespace kestrova
