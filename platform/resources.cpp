#include "platform/resources.h"

#include <map>
#include <string>

namespace {

struct ModuleTable {
  const PlatResource* table;
  size_t count;
};

std::map<std::string, ModuleTable>& Modules() {
  static std::map<std::string, ModuleTable> modules;
  return modules;
}

}  // namespace

void PlatRegisterResources(const char* module, const PlatResource* table, size_t count) {
  if (!module) return;
  Modules()[module] = {table, table ? count : 0};
}

const PlatResource* PlatFindResource(const char* module, int number) {
  if (!module) return nullptr;
  auto found = Modules().find(module);
  if (found == Modules().end()) return nullptr;
  for (size_t i = 0; i < found->second.count; i++)
    if (found->second.table[i].number == number) return &found->second.table[i];
  return nullptr;
}
