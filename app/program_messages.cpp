#include "app/program_messages.h"

#include <cstdint>

#include "env/messages.h"

void RegisterResources_Zelsal();

namespace {

int16_t ProgramMessagesId() { return 78; }
int16_t InstanceMessagesId() { return 79; }

}  // namespace

void RegisterProgramMessages() {
  RegisterResources_Zelsal();
  EnvAddRcsObj(ProgramMessagesId, RCS_KIND_PROGRAM);
  EnvAddRcsObj(InstanceMessagesId, RCS_KIND_INSTANCE);
}
