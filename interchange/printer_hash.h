// Printer-name hash: the print settings remember the chosen printer by a
// 32-bit hash of its name rather than by the name itself.
#pragma once
#include <cstddef>
#include <cstdint>

// MD5 (RFC 1321) of `length` bytes into a 16-byte digest.
void Md5Digest(const void* data, size_t length, uint8_t digest[16]);

// ((w0 + w1) ^ w2) + w3 over the MD5 of the name read as four little-endian
// words; the name's bytes exactly as given, so case matters.
uint32_t PrinterNameHash(const char* name);
