// A message table from outside: the first byte chooses the table kind
// (library, program, instance), the rest is the table; numbers of its kind
// are looked up.
#include <cstring>
#include <vector>

#include "env/messages.h"
#include "fuzz/fuzz_support.h"
#include "platform/byte_order.h"
#include "platform/resources.h"

void RegisterResources_Zelkit5();

namespace {

constexpr int kTableNumber = 900;
int16_t TableId() { return kTableNumber; }

void LookUp(int number) {
  volatile size_t length = std::strlen(EnvMessageText(number));
  length = length + std::strlen(RcQStr(number));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  FuzzNewInput();
  const int kinds[] = {RCS_KIND_LIBRARY, RCS_KIND_PROGRAM, RCS_KIND_INSTANCE};
  int kind = kinds[data[0] % 3];
  std::vector<unsigned char> table(data + 1, data + size);
  PlatResource resource = {kTableNumber, table.data(), static_cast<uint32_t>(table.size())};
  const char* module = kind == RCS_KIND_LIBRARY ? ENV_LIBRARY_MODULE : ENV_PROGRAM_MODULE;
  PlatRegisterResources(module, &resource, 1);
  EnvFreeRcsCaches(kind);
  EnvClearRcsSlots(kind);
  EnvAddRcsObj(TableId, kind);

  int low = kind == RCS_KIND_INSTANCE ? 1 : kind == RCS_KIND_PROGRAM ? 20000 : 50001;
  int high = kind == RCS_KIND_INSTANCE ? 19999 : kind == RCS_KIND_PROGRAM ? 50000 : 65535;
  LookUp(low);
  LookUp(high);
  for (size_t at = 0; at + 2 <= table.size() && at < 64; at += 2) {
    int number = GetLe16(table.data() + at);
    if (number >= low && number <= high) LookUp(number);
  }

  EnvFreeRcsCaches(kind);
  EnvClearRcsSlots(kind);
  if (kind == RCS_KIND_LIBRARY) {
    RegisterResources_Zelkit5();
    EnvAddRcsObj(LibraryMessagesId, RCS_KIND_LIBRARY);
  } else {
    PlatRegisterResources(module, nullptr, 0);
  }
  return 0;
}
