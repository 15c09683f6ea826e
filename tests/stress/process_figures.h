// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the stress tests measure of their own process.

#include <sys/resource.h>

#include <fstream>
#include <string>

namespace kestrova::test {

// Resident memory in KiB (VmRSS), 0 when it cannot be read.
inline long ResidentKib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) {
      return std::stol(line.substr(6));
    }
  }
  return 0;
}

// Processor time used so far, user and system, in seconds.
inline double CpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace kestrova::test
