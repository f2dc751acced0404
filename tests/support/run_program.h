// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace songloader::test {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments (no shell), with environment entries "NAME=value" that replace
// the inherited ones of that name,
// and collects its exit code and both output streams.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& environment = {});

}  // namespace songloader::test
