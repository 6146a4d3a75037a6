// Helpers of the installer tests: a packer of level-1 LHA archives, the
// listings that came with the committed archives, and a bit writer for
// hand-made -lh5- streams.
#pragma once
#include <cstdint>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "env/crc16.h"
#include "platform/byte_order.h"

namespace lha {

inline std::string FixturePath(const std::string& name) { return std::string(INSTALLER_FIXTURES) + "/" + name; }

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline uint16_t Crc16(const std::string& data) {
  uint16_t table[256];
  Crc16ArcTable(table);
  uint16_t crc = 0;
  for (char c : data) crc = Crc16ArcUpdate(table, crc, static_cast<uint8_t>(c));
  return crc;
}

constexpr uint32_t DosTime(int year, int month, int day, int hour, int minute, int second) {
  return uint32_t(year - 1980) << 25 | uint32_t(month) << 21 | uint32_t(day) << 16 | uint32_t(hour) << 11 |
         uint32_t(minute) << 5 | uint32_t(second / 2);
}

struct Member {
  Member(std::string name_, std::string data_, std::string method_ = "-lh0-", uint8_t attribute_ = 0x20,
         uint32_t dosTime_ = DosTime(2024, 5, 17, 13, 45, 30))
      : name(std::move(name_)), data(std::move(data_)), method(std::move(method_)), attribute(attribute_),
        dosTime(dosTime_) {}
  std::string name;
  std::string data;                  // as stored: the plain bytes for -lh0-, the packed stream otherwise
  std::string method;
  uint8_t attribute;
  uint32_t dosTime;
  std::optional<uint32_t> size;      // uncompressed; the stored data's size when not given
  std::optional<uint16_t> crc;       // of the uncompressed bytes; computed from the data when not given
  std::vector<std::string> extended; // contents of extended headers, each followed by the next one's size
};

// A level-1 archive of `members`, with the end mark.
inline std::string Pack(const std::vector<Member>& members) {
  std::string out;
  for (const Member& m : members) {
    std::string ext;
    for (size_t i = 0; i < m.extended.size(); i++) {
      ext += m.extended[i];
      unsigned next = i + 1 < m.extended.size() ? unsigned(m.extended[i + 1].size() + 2) : 0;
      ext += char(next & 0xFF);
      ext += char(next >> 8);
    }
    unsigned size = unsigned(25 + m.name.size());
    std::string h(size + 2, '\0');
    unsigned char* p = reinterpret_cast<unsigned char*>(h.data());
    p[0] = static_cast<unsigned char>(size);
    h.replace(2, 5, m.method);
    PutLe32(p + 7, uint32_t(m.data.size() + ext.size()));
    PutLe32(p + 11, m.size ? *m.size : uint32_t(m.data.size()));
    PutLe32(p + 15, m.dosTime);
    p[19] = m.attribute;
    p[20] = 1;
    p[21] = static_cast<unsigned char>(m.name.size());
    h.replace(22, m.name.size(), m.name);
    PutLe16(p + 22 + m.name.size(), m.crc ? *m.crc : Crc16(m.data));
    p[24 + m.name.size()] = 'M';
    PutLe16(p + size, m.extended.empty() ? 0 : unsigned(m.extended[0].size() + 2));
    unsigned sum = 0;
    for (unsigned i = 2; i < size + 2; i++) sum += p[i];
    p[1] = static_cast<unsigned char>(sum);
    out += h + ext + m.data;
  }
  return out + std::string(1, '\0');
}

// Fixes the header checksum of the member header at `offset` after a test changed it.
inline void Reseal(std::string* archive, size_t offset) {
  unsigned size = static_cast<unsigned char>((*archive)[offset]);
  unsigned sum = 0;
  for (unsigned i = 2; i < size + 2; i++) sum += static_cast<unsigned char>((*archive)[offset + i]);
  (*archive)[offset + 1] = static_cast<char>(sum);
}

// One member of a listing printed by the archiver ("NAME-vv.txt").
struct Listed {
  std::string name;
  uint32_t packed, size;
  std::string method;
  uint16_t crc;
  int64_t stamp;   // the listed date and time read as UTC
};

inline std::vector<Listed> ReadListing(const std::string& path) {
  std::vector<Listed> out;
  std::istringstream in(ReadBytes(path));
  std::string line, name;
  int rules = 0;
  bool expectName = true;
  while (std::getline(in, line)) {
    if (line.rfind("----------", 0) == 0) {
      rules++;
      continue;
    }
    if (rules != 1) continue;
    if (expectName) {
      name = line;
      expectName = false;
      continue;
    }
    expectName = true;
    std::vector<std::string> words;
    std::istringstream fields(line);
    for (std::string w; fields >> w;) words.push_back(w);
    size_t n = words.size();
    std::tm t{};
    std::sscanf((words[n - 3] + " " + words[n - 2]).c_str(), "%d-%d-%d %d:%d:%d", &t.tm_year, &t.tm_mon, &t.tm_mday,
                &t.tm_hour, &t.tm_min, &t.tm_sec);
    t.tm_year -= 1900;
    t.tm_mon -= 1;
    out.push_back({name, uint32_t(std::stoul(words[n - 8])), uint32_t(std::stoul(words[n - 7])), words[n - 5],
                   uint16_t(std::stoul(words[n - 4], nullptr, 16)), int64_t(timegm(&t))});
  }
  return out;
}

// Bits written first-highest, as the -lh5- decoder reads them.
class BitWriter {
 public:
  void Put(unsigned value, int bits) {
    for (int i = bits - 1; i >= 0; i--) {
      current = static_cast<unsigned char>(current << 1 | ((value >> i) & 1));
      if (++count == 8) {
        bytes += static_cast<char>(current);
        current = 0;
        count = 0;
      }
    }
  }
  std::string Bytes() const {
    std::string out = bytes;
    if (count) out += static_cast<char>(current << (8 - count));
    return out;
  }

 private:
  std::string bytes;
  unsigned char current = 0;
  int count = 0;
};

}  // namespace lha
