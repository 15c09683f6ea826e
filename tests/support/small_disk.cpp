// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/small_disk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kestrova::test {

SmallDisk::SmallDisk(std::size_t bytes) : mountPoint_(dir_ / "disk") {
  std::filesystem::create_directory(mountPoint_);
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
  if (::mount("kestrova-test", mountPoint_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0) {
    mounted_ = true;
  } else {
    reason_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
  }
}

SmallDisk::~SmallDisk() {
  if (mounted_) {
    ::umount2(mountPoint_.c_str(), MNT_DETACH);
  }
}

void SmallDisk::Fill() {
  if (!mounted_) {
    throw std::logic_error("only a small disk of its own may be filled");
  }
  const int fd = ::open((mountPoint_ / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) {
    throw std::runtime_error("cannot make the filler");
  }
  const std::string page(4096, 'f');
  while (::write(fd, page.data(), page.size()) > 0) {
  }
  while (::write(fd, page.data(), 1) > 0) {
  }
  const int error = errno;
  ::close(fd);
  if (error != ENOSPC) {
    throw std::runtime_error(std::string("the filler stopped short of a full disk: ") + std::strerror(error));
  }
}

void SmallDisk::Free() { std::filesystem::remove(mountPoint_ / "filler"); }

}  // namespace kestrova::test
