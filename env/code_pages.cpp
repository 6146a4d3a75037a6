#include "env/code_pages.h"

#include <cstring>

#include "env/charset_map.h"

const uint16_t MazToAsciiPairs[] = {
    128, 'A', 129, 'a', 130, 'A', 131, 'a', 132, 'S', 133, 's', 134, 'a', 135, 'C',
    136, 'c', 137, 'C', 138, 'c', 139, 'D', 140, 'd', 141, 'c', 143, 'A', 144, 'E',
    145, 'e', 146, 'l', 147, 'E', 148, 'e', 149, 'C', 150, 'E', 151, 'e', 152, 'S',
    153, 'G', 154, 'g', 156, 'L', 158, 's', 160, 'Z', 161, 'Z', 162, 'o', 163, 'O',
    164, 'n', 165, 'N', 166, 'z', 167, 'z', 168, 'I', 169, 'i', 170, 'L', 171, 'l',
    172, 'L', 173, 'l', 181, 'N', 182, 'n', 183, 'O', 184, 'o', 189, 'O', 190, 'o',
    198, 'R', 199, 'r', 205, 'S', 206, 's', 207, 'S', 208, 's', 209, 'T', 210, 't',
    211, 'U', 212, 'u', 213, 'U', 214, 'u', 215, 'U', 216, 'u', 219, 'Y', 220, 'y',
    221, 'Z', 222, 'z', 230, 'R', 231, 'r',
    0, 0,
};

const uint16_t MazToWindowsPairs[] = {
    128, 0xC4, 129, 0xE4, 130, 0xC1, 131, 0xE1, 133, 0xDF, 134, 0xB9, 135, 0xC8, 136, 0xE8,
    137, 0xC7, 138, 0xE7, 139, 0xCF, 140, 0xEF, 141, 0xE6, 142, 0xA7, 143, 0xA5, 144, 0xCA,
    145, 0xEA, 146, 0xB3, 147, 0xC9, 148, 0xE9, 149, 0xC6, 150, 0xCC, 151, 0xEC, 152, 0x8C,
    156, 0xA3, 158, 0x9C, 160, 0x8F, 161, 0xAF, 162, 0xF3, 163, 0xD3, 164, 0xF1, 165, 0xD1,
    166, 0x9F, 167, 0xBF, 168, 0xCD, 169, 0xED, 170, 0xC5, 171, 0xE5, 172, 0xBC, 173, 0xBE,
    176, 0xA9, 178, 0xAE, 181, 0xD2, 182, 0xF2, 183, 0xD6, 184, 0xF6, 189, 0xD4, 190, 0xF4,
    198, 0xD8, 199, 0xF8, 205, 0x8A, 206, 0x9A, 207, 0xAA, 208, 0xBA, 209, 0x8D, 210, 0x9D,
    211, 0xDC, 212, 0xFC, 213, 0xDA, 214, 0xFA, 215, 0xD9, 216, 0xF9, 219, 0xDD, 220, 0xFD,
    221, 0x8E, 222, 0x9E, 224, 0xB0, 230, 0xC0, 231, 0xE0,
    0, 0,
};

// Raw printers have single frame lines only: the double frame pieces of the
// screen are printed as single ones.
#define SINGLE_FRAME_PAIRS \
  201, 218, 203, 194, 204, 195, 187, 191, 200, 192, 185, 180, 202, 193, 188, 217

const uint16_t MazTo852Pairs[] = {
    143, 0xA4, 134, 0xA5, 149, 0x8F, 141, 0x86, 144, 0xA8, 145, 0xA9, 156, 0x9D, 146, 0x88,
    165, 0xE3, 164, 0xE4, 163, 0xE0, 162, 0xA2, 152, 0x97, 158, 0x98, 160, 0x8D, 166, 0xAB,
    161, 0xBD, 167, 0xBE,
    SINGLE_FRAME_PAIRS,
    0, 0,
};

const uint16_t MazToIsoPairs[] = {
    143, 0xA1, 134, 0xB1, 149, 0xC6, 141, 0xE6, 144, 0xCA, 145, 0xEA, 156, 0xA3, 146, 0xB3,
    165, 0xD1, 164, 0xF1, 163, 0xD3, 162, 0xF3, 152, 0xA6, 158, 0xB6, 160, 0xAC, 166, 0xBC,
    161, 0xAF, 167, 0xBF,
    SINGLE_FRAME_PAIRS,
    0, 0,
};

#undef SINGLE_FRAME_PAIRS

namespace {

// Case pairs, lower to upper.
constexpr unsigned char kCasePairs[][2] = {
    {129, 128}, {131, 130}, {133, 132}, {134, 143}, {136, 135}, {138, 137}, {140, 139},
    {141, 149}, {145, 144}, {146, 156}, {148, 147}, {151, 150}, {154, 153}, {158, 152},
    {162, 163}, {164, 165}, {166, 160}, {167, 161}, {169, 168}, {171, 170}, {173, 172},
    {182, 181}, {184, 183}, {190, 189}, {199, 198}, {206, 205}, {208, 207}, {210, 209},
    {212, 211}, {214, 213}, {216, 215}, {220, 219}, {222, 221}, {231, 230},
};

struct CaseTables {
  unsigned char upper[256];
  unsigned char lower[256];
};

constexpr CaseTables MakeCaseTables() {
  CaseTables t{};
  for (int c = 0; c < 256; ++c) {
    t.upper[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    t.lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
  for (const auto& p : kCasePairs) {
    t.upper[p[0]] = p[1];
    t.lower[p[1]] = p[0];
  }
  return t;
}

constexpr CaseTables kCase = MakeCaseTables();

struct XmlEntityRow {
  unsigned char character;
  const char* entity;
};

constexpr XmlEntityRow kXmlEntities[] = {
    {'<', "&lt;"}, {'>', "&gt;"}, {'\'', "&apos;"}, {'"', "&quot;"}, {'&', "&amp;"},
    {143, "&Aogon;"}, {134, "&aogon;"}, {149, "&Cacute;"}, {141, "&cacute;"},
    {144, "&Eogon;"}, {145, "&eogon;"}, {156, "&Lstrok;"}, {146, "&lstrok;"},
    {165, "&Nacute;"}, {164, "&nacute;"}, {163, "&Oacute;"}, {162, "&oacute;"},
    {152, "&Sacute;"}, {158, "&sacute;"}, {160, "&Zacute;"}, {166, "&zacute;"},
    {161, "&Zdot;"}, {167, "&zdot;"},
    {128, "&Auml;"}, {129, "&auml;"}, {130, "&Aacute;"}, {131, "&aacute;"},
    {135, "&Ccaron;"}, {136, "&ccaron;"}, {137, "&Ccedil;"}, {138, "&ccedil;"},
    {139, "&Dcaron;"}, {140, "&dcaron;"}, {147, "&Eacute;"}, {148, "&eacute;"},
    {150, "&Ecaron;"}, {151, "&ecaron;"}, {153, "&Gbreve;"}, {154, "&gbreve;"},
    {168, "&Iacute;"}, {169, "&iacute;"}, {170, "&Lacute;"}, {171, "&lacute;"},
    {172, "&Lcaron;"}, {173, "&lcaron;"}, {181, "&Ncaron;"}, {182, "&ncaron;"},
    {183, "&Ouml;"}, {184, "&ouml;"}, {189, "&Ocirc;"}, {190, "&ocirc;"},
    {230, "&Racute;"}, {231, "&racute;"}, {198, "&Rcaron;"}, {199, "&rcaron;"},
    {132, "&#7838;"}, {133, "&szlig;"}, {205, "&Scaron;"}, {206, "&scaron;"},
    {207, "&Scedil;"}, {208, "&scedil;"}, {209, "&Tcaron;"}, {210, "&tcaron;"},
    {211, "&Uuml;"}, {212, "&uuml;"}, {213, "&Uacute;"}, {214, "&uacute;"},
    {215, "&Uring;"}, {216, "&uring;"}, {219, "&Yacute;"}, {220, "&yacute;"},
    {221, "&Zcaron;"}, {222, "&zcaron;"},
    {142, "&sect;"}, {176, "&copy;"}, {178, "&reg;"}, {224, "&deg;"},
    {225, "&frac12;"}, {226, "&frac14;"}, {227, "&frac34;"},
};

// UTF-8 bytes of a code point, first byte lowest; the count in *length.
constexpr uint32_t PackUtf8(char32_t u, int* length) {
  if (u < 0x80) {
    *length = 1;
    return u;
  }
  if (u < 0x800) {
    *length = 2;
    return (0xC0 | (u >> 6)) | (0x80 | (u & 0x3F)) << 8;
  }
  if (u < 0x10000) {
    *length = 3;
    return (0xE0 | (u >> 12)) | (0x80 | ((u >> 6) & 0x3F)) << 8 | (0x80 | (u & 0x3F)) << 16;
  }
  *length = 4;
  return (0xF0 | (u >> 18)) | (0x80 | ((u >> 12) & 0x3F)) << 8 | (0x80 | ((u >> 6) & 0x3F)) << 16 |
         (0x80u | (u & 0x3F)) << 24;
}

// Packed UTF-8 of the system's own characters, 0 for every other code.
struct OwnUtf8Table {
  uint32_t bytes[256];
  unsigned char length[256];
};

constexpr OwnUtf8Table MakeOwnUtf8() {
  OwnUtf8Table t{};
  for (unsigned char c : kCharsetOwnCodes) {
    int n = 0;
    t.bytes[c] = PackUtf8(kCharsetToUnicode[c], &n);
    t.length[c] = static_cast<unsigned char>(n);
  }
  return t;
}

constexpr OwnUtf8Table kOwnUtf8 = MakeOwnUtf8();

void AppendUtf8(std::string& out, char32_t u) {
  int n = 0;
  uint32_t packed = PackUtf8(u, &n);
  for (int i = 0; i < n; ++i) out += static_cast<char>((packed >> (8 * i)) & 0xFF);
}

inline bool IsContinuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

}  // namespace

int EnvToUpper(int character) { return kCase.upper[character & 0xFF]; }

int EnvToLower(int character) { return kCase.lower[character & 0xFF]; }

char* c4upper(char* text) {
  for (char* p = text; *p; ++p) *p = static_cast<char>(EnvToUpper(*p));
  return text;
}

char* c4lower_str(char* text) {
  for (char* p = text; *p; ++p) *p = static_cast<char>(EnvToLower(*p));
  return text;
}

int ConvChar(int character, const uint16_t* pairs, int flags) {
  int c = character & 0xFF;
  if (flags & CONV_UPPER) c = EnvToUpper(c);
  if (pairs == nullptr || c == 0) return c;
  const bool reverse = (flags & CONV_REVERSE) != 0;
  for (const uint16_t* p = pairs; p[0] != 0; p += 2) {
    if ((reverse ? p[1] : p[0]) == c) return reverse ? p[0] : p[1];
  }
  return c;
}

char* ConvChars(char* text, int n, const uint16_t* pairs, int flags) {
  if (n < 0) n = static_cast<int>(std::strlen(text));
  // A pair table is searched per character; past a few hundred characters a
  // table of every byte value is cheaper.
  if (n >= 256 && pairs != nullptr) {
    uint8_t table[256];
    for (int c = 0; c < 256; ++c) table[c] = static_cast<uint8_t>(ConvChar(c, pairs, flags));
    for (int i = 0; i < n; ++i) text[i] = static_cast<char>(table[static_cast<uint8_t>(text[i])]);
    return text;
  }
  for (int i = 0; i < n; ++i) text[i] = static_cast<char>(ConvChar(text[i], pairs, flags));
  return text;
}

int IsLetter(int character) {
  int c = ConvChar(character, MazToAsciiPairs, CONV_UPPER);
  return c >= 'A' && c <= 'Z' ? 1 : 0;
}

const char* XmlEntityOf(int character) {
  const int c = character & 0xFF;
  for (const auto& row : kXmlEntities)
    if (row.character == c) return row.entity;
  return nullptr;
}

int32_t MazToUtf8Char(int character) {
  const int c = character & 0xFF;
  return kOwnUtf8.length[c] ? static_cast<int32_t>(kOwnUtf8.bytes[c]) : c;
}

const char* Utf8ToMazChar(const char* input, unsigned char* result) {
  const auto* in = reinterpret_cast<const unsigned char*>(input);
  if (in[0] < 0x80) {
    *result = in[0];
    return input + 1;
  }
  int run = 1;
  while (IsContinuation(in[run])) ++run;
  *result = 255;
  for (unsigned char c : kCharsetOwnCodes) {
    const int n = kOwnUtf8.length[c];
    if (n > run) continue;
    bool same = true;
    for (int i = 0; i < n && same; ++i) same = in[i] == ((kOwnUtf8.bytes[c] >> (8 * i)) & 0xFF);
    if (same) {
      *result = c;
      break;
    }
  }
  return input + run;
}

std::string MazToUtf8Text(const char* text) {
  std::string out;
  for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p < 0x80)
      out += static_cast<char>(*p);
    else
      AppendUtf8(out, kCharsetToUnicode[*p]);
  }
  return out;
}

std::string Utf8ToMazText(const char* text) {
  std::string out;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    if (*p < 0x80) {
      out += static_cast<char>(*p++);
      continue;
    }
    int n = *p >= 0xF0 && *p <= 0xF4 ? 4 : *p >= 0xE0 ? 3 : *p >= 0xC2 && *p <= 0xDF ? 2 : 0;
    char32_t u = n == 2 ? (*p & 0x1F) : n == 3 ? (*p & 0x0F) : (*p & 0x07);
    int i = 1;
    for (; i < n && IsContinuation(p[i]); ++i) u = (u << 6) | (p[i] & 0x3F);
    if (n == 0 || i < n) {
      out += '?';          // a stray or cut sequence: skip what belongs to it
      p += i;
      while (IsContinuation(*p)) ++p;
      continue;
    }
    p += n;
    const int c = CharsetFromUnicode(u);
    out += c > 0 ? static_cast<char>(c) : '?';
  }
  return out;
}
