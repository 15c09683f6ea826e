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

}  // namespace kestrova::test
