// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kestrova::test {

// What a finished program left behind.
struct ToolResult {
  int exitCode = -1;  // -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs the program at `path` with `arguments` (no shell in between), reads
// its standard output and error to their end and waits for it. The program
// gets this process's environment with `environment` ("NAME=value" each)
// put over it.
ToolResult RunProgram(const std::string& path, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment = {});

// Reads `metrics` with prometheus_client's OpenMetrics parser and its
// Prometheus text parser (parse_openmetrics.py, run by /usr/bin/python3):
// exit code 0 and one line per sample and parser on standard output, or
// exit code 1 and the parser's complaint on standard error.
ToolResult ParseMetrics(const std::string& metrics);

}  // namespace kestrova::test
