// The 12-bit LZW coder of CP1 archives: a hashed string table of 4096 slots
// that starts again from the 256 single characters after 3840 additions, codes
// packed big-endian two into three bytes, and the CRC-16 of the plain bytes.
// Archives and packed file sets share it; the caller supplies the byte streams.
#pragma once
#include <cstdint>

constexpr int LZW_SLOTS = 4096;
constexpr uint16_t LZW_NO_PREFIX = 0xFFFF;
constexpr int LZW_ADDITIONS = 3840;
constexpr uint16_t LZW_NO_HALF = 0xF000;

struct LzwSlot {
  uint8_t used;
  uint8_t character;
  uint16_t link;      // next slot of the hash chain, 0 = end
  uint16_t prefix;    // code of the string without its last character, LZW_NO_PREFIX for one character
};

// readByte: the next byte 0..255, or -1 when there is none (packing: the
// input ended early; unpacking: the coded data could not be read).
// writeByte: 0 done, -1 failed. progress may be NULL.
struct LzwStreams {
  int (*readByte)(void* user);
  int (*writeByte)(void* user, uint8_t byte);
  void (*progress)(void* user, uint32_t done, uint32_t total);
  void* user;
};

struct LzwCoder {
  LzwSlot table[LZW_SLOTS];
  uint8_t stack[LZW_SLOTS];
  uint16_t crcTable[256];
  uint16_t crc;             // running CRC-16 of the plain bytes of the entry
  uint16_t encodeHalf;      // pending low half-byte of the packer, LZW_NO_HALF when none
  uint16_t decodeHalf;      // pending low half-byte of the unpacker
  int remaining;            // additions left before the table starts again
};

// Builds the CRC table; everything else is reset by each entry.
void LzwCoderInit(LzwCoder* coder);

// Packs exactly `length` plain bytes; 1 done, -1 when reading or writing failed.
int LzwEncode(LzwCoder* coder, const LzwStreams* streams, uint32_t length);

// Unpacks until `length` plain bytes are written; 1 done, -1 when reading or
// writing failed, 0 when the data is so damaged that a string outgrows the
// stack (the entry ends there).
int LzwDecode(LzwCoder* coder, const LzwStreams* streams, uint32_t length);
