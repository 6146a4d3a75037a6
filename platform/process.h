// Outside programs.
#pragma once
#include <string>
#include <vector>
#include "platform/plat_result.h"

// Start `program` (searched on PATH when it has no "/") with `args`, optionally
// in `workDir`, and wait for it. PLAT_NOT_FOUND when the program does not exist;
// otherwise PLAT_OK and its exit code (128 + signal when it was killed).
PlatResult PlatRunProgram(const char* program, const std::vector<std::string>& args, const char* workDir, int* exitCode);
// The same without a working directory, with the program's standard output
// collected into `output`.
PlatResult PlatRunProgramOutput(const char* program, const std::vector<std::string>& args, std::string* output,
                                int* exitCode);
