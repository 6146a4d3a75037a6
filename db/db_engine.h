// The engine's process-wide settings record; it heads the Environment.
// (Filled in with the engine.)
#pragma once

struct DbEngine {
  int error_code;
};
