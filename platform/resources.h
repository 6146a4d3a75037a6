// Numbered resources compiled into a binary from resources/<module>/.
#pragma once
#include <cstddef>
#include <cstdint>

struct PlatResource {
  int number;
  const unsigned char* data;
  uint32_t size;
};

// Generated tables register themselves through these calls, one per module
// ("Zelkit5", "Zelsal"); RegisterResources_<module>() is generated with each table.
void PlatRegisterResources(const char* module, const PlatResource* table, size_t count);
// NULL when the module or the number is unknown.
const PlatResource* PlatFindResource(const char* module, int number);
