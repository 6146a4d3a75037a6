#include "print/pcl_params.h"

#include <algorithm>
#include <cstdlib>
#include <string>

size_t ReadPclParam(const unsigned char* data, size_t length, size_t pos, PclParam* out) {
  std::string number;
  while (pos < length) {
    unsigned char c = data[pos++];
    bool lower = c >= 'a' && c <= 'z', upper = c >= 'A' && c <= 'Z';
    if (lower || upper || c == '@') {
      // A file from outside may give more than an int holds; every reader takes the value as one.
      const double value = number.empty() ? 0 : std::strtod(number.c_str(), nullptr);
      out->value = std::clamp(value, -kPclValueLimit, kPclValueLimit);
      out->letter = static_cast<char>(lower ? c - 32 : c);
      out->last = !lower;
      return pos;
    }
    if (number.size() < 15) number += static_cast<char>(c);
  }
  out->value = 0;
  out->letter = 0;
  out->last = true;
  return length;
}
