// CRC-16/ARC (reflected polynomial 0xA001, initial value 0, no final
// inversion), table-driven: the check of CP1 archive entries and LHA members.
#pragma once
#include <cstdint>

void Crc16ArcTable(uint16_t table[256]);

inline uint16_t Crc16ArcUpdate(const uint16_t table[256], uint16_t crc, uint8_t byte) {
  return uint16_t(table[(crc ^ byte) & 0xFF] ^ (crc >> 8));
}
