#include "env/messages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "env/error_log.h"
#include "env/memory.h"
#include "env/temp_strings.h"
#include "platform/byte_order.h"
#include "platform/resources.h"

namespace {

std::span<RcsObjSlot> Slots(const EnvState* e) { return {e->messageTables, RCS_SLOTS}; }

constexpr int16_t kLibraryMessages = 7;

int KindOf(int number) {
  if (number < 20000) return RCS_KIND_INSTANCE;
  if (number <= 50000) return RCS_KIND_PROGRAM;
  return RCS_KIND_LIBRARY;
}

int SelectorOf(int kind) {
  if (kind == RCS_KIND_LIBRARY) return RC_LIBRARY;
  if (kind == RCS_KIND_PROGRAM) return RC_PROGRAM_FILE;
  return RC_ACTIVE_INSTANCE;
}

EnvModule ModuleOf(int selector) {
  if (selector == RC_ACTIVE_INSTANCE) return EnvActiveInstance();
  if (selector == RC_LIBRARY) return ENV_LIBRARY_MODULE;
  return ENV_PROGRAM_MODULE;
}

// Copies the slot's table into memory at its first use.
bool EnsureCache(RcsObjSlot& slot) {
  if (slot.cache) return true;
  uint16_t size = 0;
  const unsigned char* data = EnvFindRcData(SelectorOf(slot.kind), slot.idRoutine, &size);
  if (!data || size < 2) return false;
  slot.cache = static_cast<unsigned char*>(std::malloc(size));
  if (!slot.cache) return false;
  std::memcpy(slot.cache, data, size);
  slot.size = size;
  return true;
}

// Walks the entries; a damaged table (a text without its NUL) ends the walk.
const char* FindIn(const RcsObjSlot& slot, int number) {
  const unsigned char* table = slot.cache;
  unsigned size = slot.size;
  unsigned offset = 2;
  while (offset + 2 < size) {
    unsigned entryNumber = GetLe16(table + offset);
    const unsigned char* text = table + offset + 2;
    const void* nul = std::memchr(text, 0, size - offset - 2);
    if (!nul) return nullptr;
    if (static_cast<int>(entryNumber) == number) return reinterpret_cast<const char*>(text);
    offset = static_cast<unsigned>(static_cast<const unsigned char*>(nul) - table) + 1;
  }
  return nullptr;
}

}  // namespace

int16_t LibraryMessagesId() { return kLibraryMessages; }

void EnvAddRcsObj(ResIdRoutine idRoutine, int kind) {
  const EnvState* e = EnvCurrentState();
  if (!e || !idRoutine) return;
  for (RcsObjSlot& slot : Slots(e)) {
    if (slot.idRoutine) continue;
    slot.idRoutine = idRoutine;
    slot.kind = static_cast<int16_t>(kind);
    slot.size = 0;
    slot.cache = nullptr;
    return;
  }
}

const char* EnvMessageText(int number) {
  static char missing[16];
  if (const EnvState* e = EnvCurrentState()) {
    int kind = KindOf(number);
    for (RcsObjSlot& slot : Slots(e)) {
      if (!slot.idRoutine || slot.kind != kind || !EnsureCache(slot)) continue;
      if (const char* text = FindIn(slot, number)) return text;
    }
  }
  std::snprintf(missing, sizeof missing, "?%ld", static_cast<long>(number));
  return missing;
}

const char* RcQStr(int number) {
  const char* text = EnvMessageText(number);
  return EnvCurrent() ? QuickStr(text, -1, 0) : text;
}

const char* EnvFindString(TextRef text) { return text.IsNumber() ? RcQStr(text.number) : text.text; }

const unsigned char* EnvFindRcData(int selector, ResIdRoutine idRoutine, uint16_t* size) {
  if (size) *size = 0;
  if (!idRoutine) return nullptr;
  const PlatResource* resource = PlatFindResource(ModuleOf(selector), idRoutine());
  if (!resource) return nullptr;
  if (size) *size = static_cast<uint16_t>(resource->size > 0xFFFF ? 0xFFFF : resource->size);
  return resource->data;
}

void* EnvLoadResObj(EnvModule module, void* buffer, unsigned size, ResIdRoutine idRoutine) {
  int number = idRoutine ? idRoutine() : 0;
  const PlatResource* resource = idRoutine ? PlatFindResource(module, number) : nullptr;
  unsigned available = resource ? resource->size : 0;
  if (!buffer && available >= 2) size = GetLe16(resource->data);
  if (available == 0 || (!buffer && size == 0)) {
    ErrLogMessage(EL_ERROR | EL_FORMAT | EL_SYSTEM_ERROR, LOG_MISSING_RESOURCE, " %i", number);
    return buffer;
  }
  if (!buffer) {
    buffer = take_mem(size);
    if (!buffer) return nullptr;
  }
  if (available < size)
    ErrLogMessage(EL_ERROR | EL_FORMAT, LOG_SHORT_RESOURCE, " %u < %u, ResObj(%i)", available, size, number);
  std::memcpy(buffer, resource->data, available < size ? available : size);
  return buffer;
}

void* EnvLoadBinResource(void* buffer, unsigned size, ResIdRoutine idRoutine) {
  return EnvLoadResObj(EnvActiveInstance(), buffer, size, idRoutine);
}

void* overcpy(void* buffer, ResIdRoutine idRoutine, unsigned size) {
  return EnvLoadBinResource(buffer, size, idRoutine);
}

void EnvClearRcsSlots(int kind) {
  const EnvState* e = EnvCurrentState();
  if (!e) return;
  for (RcsObjSlot& slot : Slots(e))
    if (kind == 0 || slot.kind == kind) slot = RcsObjSlot{};
}

void EnvFreeRcsCaches(int kind) {
  const EnvState* e = EnvCurrentState();
  if (!e) return;
  for (RcsObjSlot& slot : Slots(e)) {
    if (kind != 0 && slot.kind != kind) continue;
    std::free(slot.cache);
    slot.cache = nullptr;
    slot.size = 0;
  }
}
