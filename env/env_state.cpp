#include "env/env_state.h"

#include <cstdio>

namespace {

Environment* current = nullptr;
const EnvState* currentState = nullptr;
EnvModule activeInstance = ENV_PROGRAM_MODULE;

}  // namespace

Environment* EnvCurrent() { return current; }

const EnvState* EnvCurrentState() { return currentState; }

void EnvSetCurrent(Environment* environment, const EnvState* state) {
  current = environment;
  currentState = environment ? state : nullptr;
}

bool EnvRefuseDamagedTables() { return currentState == nullptr || *currentState->refuseDamagedTables != 0; }

EnvModule EnvActiveInstance() { return activeInstance; }

void EnvSetActiveInstance(EnvModule module) { activeInstance = module; }

void EnvFindDashOption(int argc, char** argv, char sign, char* out, int maxAfter) {
  out[0] = '-';
  out[1] = sign;
  out[2] = '\0';
  for (int i = 0; argv && i < argc; i++) {
    const char* a = argv[i];
    if (a && a[0] == '-' && a[1] == sign) {
      std::snprintf(out, static_cast<size_t>(maxAfter) + 3, "%s", a);
      return;
    }
  }
}
