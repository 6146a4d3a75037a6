#include "env/crc16.h"

void Crc16ArcTable(uint16_t table[256]) {
  for (int i = 0; i < 256; i++) {
    uint16_t value = uint16_t(i);
    for (int step = 0; step < 8; step++) value = (value & 1) ? uint16_t((value >> 1) ^ 0xA001) : uint16_t(value >> 1);
    table[i] = value;
  }
}
