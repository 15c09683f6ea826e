// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace kestrova::test {

// A small disk of its own: a tmpfs of `bytes` mounted on a fresh folder
// for the life of the object, so that tests meet a real full disk
// (ENOSPC) rather than a stand-in. Mounting needs the right to mount
// (root with CAP_SYS_ADMIN); without it Mounted() is false and the
// folder is an ordinary one.
class SmallDisk final {
 public:
  explicit SmallDisk(std::size_t bytes = 256 * 1024);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Mounted() const { return mounted_; }
  // Why the disk could not be mounted.
  const std::string& Reason() const { return reason_; }
  const std::filesystem::path& Path() const { return mountPoint_; }
  std::filesystem::path operator/(const std::string& name) const { return mountPoint_ / name; }

  // Takes every free byte with the file "filler" (written in whole pages,
  // then byte by byte, until the disk reports ENOSPC).
  void Fill();
  // Gives the space of the filler back.
  void Free();

 private:
  TempDir dir_;
  std::filesystem::path mountPoint_;
  bool mounted_ = false;
  std::string reason_;
};

}  // namespace kestrova::test
