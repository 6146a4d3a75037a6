#include "env/text_buffers.h"

#include <cstring>
#include <string>

#include "env/env_state.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/temp_strings.h"

namespace {

constexpr int TEXT_MAX = 32767;

int BoundedLength(const char* text, int limit) {
  int n = 0;
  while (n < limit && text[n] != '\0') ++n;
  return n;
}

}  // namespace

int CharCopy(char* destination, const char* source, int n) {
  if (n < 0) n = static_cast<int>(std::strlen(source));
  std::memcpy(destination, source, n);
  return n;
}

char* StrCopy(char* destination, int size, TextRef text) {
  if (size <= 0) return destination;
  const char* source = EnvFindString(text);
  int n = source != nullptr ? BoundedLength(source, size - 1) : 0;
  if (n > 0) std::memmove(destination, source, n);
  destination[n] = '\0';
  return destination;
}

void BufCopy(char* destination, int n, const char* text) { BufCopyEx(destination, n, text, -1); }

void BufCopyEx(char* destination, int n, const char* text, int most) {
  if (n <= 0) return;
  int limit = most >= 0 && most < n ? most : n;
  int copied = text != nullptr ? BoundedLength(text, limit) : 0;
  if (copied > 0) std::memmove(destination, text, copied);
  std::memset(destination + copied, ' ', n - copied);
}

char* FormBuf(char* buffer, int size) {
  if (size <= 0) return buffer;
  std::memset(buffer, ' ', size - 1);
  buffer[size - 1] = '\0';
  return buffer;
}

char* BufAlignRight(char* buffer, int n) {
  int region = BoundedLength(buffer, n);
  int text = RTrimLength(buffer, region);
  int shift = region - text;
  if (shift > 0 && text > 0) {
    std::memmove(buffer + shift, buffer, text);
    std::memset(buffer, ' ', shift);
  }
  return buffer;
}

char* LimitStr(char* text, int n) {
  if (n >= 0 && BoundedLength(text, n + 1) > n) text[n] = '\0';
  return text;
}

const char* LTrimPtr(const char* text, int* length) {
  int limit = length != nullptr ? *length : TEXT_MAX;
  int i = 0;
  while (i < limit && text[i] == ' ') ++i;
  if (length != nullptr) *length -= i;
  return text + i;
}

int RTrimLength(const char* text, int n) {
  int len = BoundedLength(text, n);
  while (len > 0 && text[len - 1] == ' ') --len;
  return len;
}

void ToMemCopyMaxString(char* memory, const char* text) { std::memcpy(memory, text, std::strlen(text)); }

int BufferIsEmpty(const char* memory, int n) {
  for (int i = 0; i < n; ++i)
    if (memory[i] != ' ') return 0;
  return 1;
}

int EqualText(const char* a, const char* b, int flags) {
  const char* left = QuickStr(a, -1, flags);
  const char* right = QuickStr(b, -1, flags);
  return std::strcmp(left, right) == 0 ? 1 : 0;
}

const char* KodAsPopupMenuString(int code, const char* const* list) {
  int count = 0;
  while (list[count] != nullptr) ++count;
  if (count == 0) return "";
  const char* entry = list[code >= 0 && code < count ? code : 0];
  return entry + BoundedLength(entry, 2);
}

void InitBufferByKodPopupMenu(char* buffer, int size, int code, const char* const* list) {
  if (size <= 0) return;
  std::memset(buffer, 0, size);
  const char* entry = KodAsPopupMenuString(code, list);
  std::memcpy(buffer, entry, BoundedLength(entry, size - 1));
}

void ToMemCopyDoubleFmt(char* memory, double number, int width, int decimals) {
  c4dtoa(number, memory, width, decimals, 0);
}

int MemPrintDoubleFmt(char* memory, double number, int width, int flags) {
  int decimals = flags & 15;
  const EnvState* env = EnvCurrentState();
  bool blankZero = (flags & 0x10) || ((flags & 0x200) && env != nullptr && *env->printZeroValues != 'T');
  if (blankZero && ROUND(number, decimals) == 0) return 0;
  char plain[130];
  c4dtoa(number, plain, width, decimals, 1);
  std::string text = plain;
  int mode = flags & 0x60;
  if (mode == 0 || mode == 0x40) {
    char grouped[130 + 44];
    NumToText(grouped, number, width, decimals);
    std::string wide = grouped;
    if (mode == 0) {
      text = wide;
    } else {
      size_t firstUsed = wide.find_first_not_of(' ');
      size_t used = firstUsed == std::string::npos ? 0 : wide.size() - firstUsed;
      if (used <= static_cast<size_t>(width)) text = wide.substr(wide.size() - width);
    }
  }
  size_t point = text.find('.');
  if ((flags & 0x80) && decimals > 0 && point != std::string::npos) {
    size_t keep = (flags & 0x100) ? 2 : 0;
    size_t end = text.size();
    while (end > point + 1 + keep && text[end - 1] == '0') text[--end] = ' ';
    if (end == point + 1) text[point] = ' ';
  }
  std::memcpy(memory, text.data(), text.size());
  return static_cast<int>(text.size());
}

const char* CaseStrList(int key, const CaseTextItem* items) {
  const CaseTextItem* fallback = nullptr;
  for (const CaseTextItem* item = items; item->key != 0; ++item) {
    if ((item->key & 0xFFFF) == (key & 0xFFFF)) {
      const char* text = EnvFindString(item->text);
      return text != nullptr ? text : "";
    }
    if ((item->key & CASE_DEFAULT) && fallback == nullptr) fallback = item;
  }
  const char* text = fallback != nullptr ? EnvFindString(fallback->text) : nullptr;
  return text != nullptr ? text : "";
}
