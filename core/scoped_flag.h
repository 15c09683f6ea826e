// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrova {

// Raises a flag for the life of a scope and lowers it on every way out, an
// exception included: the marks that keep a cycle or a console command from
// being started again while it waits.
class ScopedFlag final {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = false; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace kestrova
