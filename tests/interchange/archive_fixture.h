// Hand-made CP1 data for the coder and archive tests, laid out from the
// format's rules here rather than by the code under test.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "interchange/archive.h"

namespace cp1 {

// A file to pack: the file read, its name in the archive, the packing flags.
struct PackedFile {
  std::string path, name;
  int flags;
};

// Packs the files in the order the backup calls the archiver.
inline bool PackFiles(const char* archive, const std::vector<PackedFile>& files, ArcProgressFn progress = nullptr,
                      void* user = nullptr) {
  if (!ArcAlloc(archive, progress, user)) return false;
  bool ok = ArcOpenWriting(archive) == 1;
  for (const PackedFile& file : files) {
    if (!ok) break;
    ok = ArcOpenReading(file.path.c_str()) == 1 && ArcHeaInit(file.name.c_str(), file.flags) == 1 &&
         ArcWriteHeader(0) == 1 && ArcEncode() == 1;
    ArcCloseReading();
    ok = ok && ArcHeaSetFileCRC() == 1 && ArcWriteHeader(1) == 1;
  }
  ok = ok && ArcPutC_K(0) == 1;
  ok = ArcCloseWriting_K() == 1 && ok;
  ArcFree();
  return ok;
}

// Where the string table puts its strings: hashed slot, else a linear probe
// from the end of the slot's chain plus 101.
struct TableModel {
  bool used[4096] = {};
  uint16_t link[4096] = {};
  int single[256] = {};    // the code of each single character

  TableModel() {
    for (int c = 0; c < 256; c++) single[c] = Add(0xFFFF, c);
  }
  int Single(unsigned char c) const { return single[c]; }
  static int Hash(int prefix, int c) {
    uint32_t t = uint32_t((prefix + c) & 0xFFFF) | 0x800u;
    return int((t * t >> 6) & 0xFFF);
  }
  int Add(int prefix, int c) {
    int slot = Hash(prefix, c);
    if (used[slot]) {
      int last = slot;
      while (link[last]) last = link[last];
      slot = (last + 101) & 0xFFF;
      while (used[slot]) slot = (slot + 1) & 0xFFF;
      link[last] = uint16_t(slot);
    }
    used[slot] = true;
    return slot;
  }
};

// 12-bit codes two into three bytes, big-endian; an odd last code leaves
// its low half in the high half of one more byte.
inline std::string PackCodes(const std::vector<int>& codes) {
  std::string out;
  for (size_t i = 0; i < codes.size(); i += 2) {
    int a = codes[i];
    if (i + 1 < codes.size()) {
      int b = codes[i + 1];
      out += char(a >> 4);
      out += char(((a & 0x0F) << 4) | (b >> 8));
      out += char(b & 0xFF);
    } else {
      out += char(a >> 4);
      out += char((a & 0x0F) << 4);
    }
  }
  return out;
}

// CRC-16/ARC bit by bit.
inline uint16_t Crc16(const std::string& data) {
  uint16_t crc = 0;
  for (unsigned char byte : data) {
    crc ^= byte;
    for (int i = 0; i < 8; i++) crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
  }
  return crc;
}

struct HeaderFields {
  std::string name14;     // exactly the 14 bytes of the name field
  uint32_t length = 0;
  uint8_t volume = 1;
  uint8_t category = 0;
  uint16_t crc = 0;
  std::string owner;      // up to 70 characters
  std::string date = "20261210";
};

inline std::string Header(const HeaderFields& f) {
  std::string h(114, '\0');
  h.replace(0, 3, "CP1");
  h[3] = 0x72;
  for (int i = 0; i < 4; i++) h[6 + i] = char(f.length >> (8 * i));
  h[10] = char(f.volume);
  h[11] = char(f.category);
  h[18] = char(f.crc & 0xFF);
  h[19] = char(f.crc >> 8);
  h.replace(20, 14, f.name14.substr(0, 14));
  h.replace(34, f.owner.size(), f.owner);
  h.replace(105, 8, f.date);
  unsigned sum = 0;
  for (int i = 5; i < 114; i++) sum += static_cast<unsigned char>(h[i]);
  h[4] = char(sum & 0xFF);
  return h;
}

inline std::string Name14(const std::string& name) {
  std::string n = name;
  n.resize(14, '\0');
  return n;
}

}  // namespace cp1
