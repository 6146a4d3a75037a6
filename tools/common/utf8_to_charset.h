// UTF-8 source text to the system's character set, for the build tools.
#pragma once

#include <stdexcept>
#include <string>

#include "env/charset_map.h"

// Converts text; broken UTF-8 throws std::runtime_error(where + "broken UTF-8").
// check(code, byte, utf8) sees every character (byte < 0 when the set lacks it)
// and throws to refuse it.
template <class Check>
std::string Utf8ToCharset(const std::string& text, const std::string& where, Check check) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= text.size()) throw std::runtime_error(where + "broken UTF-8");
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; k++) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) throw std::runtime_error(where + "broken UTF-8");
      code = (code << 6) | (next & 0x3F);
    }
    int byte = CharsetFromUnicode(code);
    check(code, byte, text.substr(i, extra + 1));
    out += static_cast<char>(byte);
    i += extra + 1;
  }
  return out;
}
