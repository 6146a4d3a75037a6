// Why a file could not be written, in the operator's words, for the causes a
// full disk or a folder that cannot be written meet.
#pragma once
#include <string>

#include "platform/plat_result.h"

// The cause as one short line in the system's character set; empty for any
// other cause (the system error tells it then).
std::string FileCauseText(PlatCause cause = PlatLastCause());
