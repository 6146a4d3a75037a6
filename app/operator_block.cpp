#include "app/operator_block.h"

#include <cstring>

#include "ui/record_stamp.h"

namespace {

constexpr int NAME_AT = 0;
constexpr int PASSWORD_HEAD_AT = 15;
constexpr int PASSWORD_HEAD_BYTES = 7;
constexpr int RIGHTS_AT = 22;
constexpr int SCRAMBLE_BYTE_AT = 2022;
constexpr int TAIL_STATE_AT = 2023;
constexpr int PASSWORD_TAIL_AT = 2024;
constexpr int PASSWORD_TAIL_BYTES = 3;
// Bytes 2024-2026 are scrambled from this value of byte 2023 on; older
// records keep them plain.
constexpr unsigned char TAIL_SCRAMBLED = 33;

signed char Mode(const char* block) { return static_cast<signed char>(block[SCRAMBLE_BYTE_AT]); }

void ReadPiece(const char* block, int at, int n, void* out) {
  std::memcpy(out, block + at, static_cast<size_t>(n));
  deconver_pass(static_cast<char*>(out), n, Mode(block));
}

void WritePiece(char* block, int at, int n, const void* in) {
  std::memcpy(block + at, in, static_cast<size_t>(n));
  conver_pass(block + at, n, Mode(block));
}

}  // namespace

void NewOperatorBlock(char* block, const char* name, int scrambleByte) {
  block[SCRAMBLE_BYTE_AT] = static_cast<char>(scrambleByte);
  OperatorBlockSetName(block, name);
  char blank[OPERATOR_PASSWORD_BYTES];
  std::memset(blank, ' ', sizeof blank);
  OperatorBlockSetPassword(block, blank);
  unsigned char every[OPERATOR_RIGHTS_BYTES];
  std::memset(every, 0xFF, sizeof every);
  OperatorBlockSetRights(block, every);
}

void OperatorBlockName(const char* block, char* name) { ReadPiece(block, NAME_AT, OPERATOR_NAME_BYTES, name); }

void OperatorBlockSetName(char* block, const char* name) {
  WritePiece(block, NAME_AT, OPERATOR_NAME_BYTES, name);
}

void OperatorBlockPassword(const char* block, char* password) {
  ReadPiece(block, PASSWORD_HEAD_AT, PASSWORD_HEAD_BYTES, password);
  char* tail = password + PASSWORD_HEAD_BYTES;
  if (static_cast<unsigned char>(block[TAIL_STATE_AT]) >= TAIL_SCRAMBLED)
    ReadPiece(block, PASSWORD_TAIL_AT, PASSWORD_TAIL_BYTES, tail);
  else
    std::memcpy(tail, block + PASSWORD_TAIL_AT, PASSWORD_TAIL_BYTES);
}

void OperatorBlockSetPassword(char* block, const char* password) {
  WritePiece(block, PASSWORD_HEAD_AT, PASSWORD_HEAD_BYTES, password);
  WritePiece(block, PASSWORD_TAIL_AT, PASSWORD_TAIL_BYTES, password + PASSWORD_HEAD_BYTES);
  block[TAIL_STATE_AT] = static_cast<char>(TAIL_SCRAMBLED);
}

void OperatorBlockRights(const char* block, unsigned char* rights) {
  ReadPiece(block, RIGHTS_AT, OPERATOR_RIGHTS_BYTES, rights);
}

void OperatorBlockSetRights(char* block, const unsigned char* rights) {
  WritePiece(block, RIGHTS_AT, OPERATOR_RIGHTS_BYTES, rights);
}
