// Form texts of the program's resources: one label a line.
#pragma once
#include <string>
#include <vector>

#include "env/env_state.h"

// The lines of the program file's text resource (line ends dropped); empty when it is missing.
std::vector<std::string> ResourceLines(ResIdRoutine resource);
