// Small helpers over texts and fixed-width buffers (blank-padded, not
// terminated): copies that never pass the stated size, trimming, equality
// under QuickStr flags, choice lists and the key-to-text switches.
#pragma once
#include <cstdint>
#include "env/text_ref.h"

// Copies n bytes, or (n negative) up to the NUL without it; returns the count.
int CharCopy(char* destination, const char* source, int n);
// At most size - 1 characters and a NUL; nothing when size is not positive.
char* StrCopy(char* destination, int size, TextRef text);
// Up to n characters, stopping at the NUL, the rest of the n bytes blanks; no NUL.
void BufCopy(char* destination, int n, const char* text);
// BufCopy taking at most `most` characters of the text (negative: no limit).
void BufCopyEx(char* destination, int n, const char* text, int most);
// size - 1 blanks and a NUL.
char* FormBuf(char* buffer, int size);
// Moves the text right over its trailing blanks.
char* BufAlignRight(char* buffer, int n);
// Cuts the text at n characters.
char* LimitStr(char* text, int n);
// Past the leading blanks within *length (NULL: 32767); lowers *length.
const char* LTrimPtr(const char* text, int* length);
// Length within n bytes (stopping at a NUL) without the trailing blanks.
int RTrimLength(const char* text, int n);
// The text without its NUL.
void ToMemCopyMaxString(char* memory, const char* text);
int BufferIsEmpty(const char* memory, int n);
// 1 when both texts are equal after QuickStr with the flags.
int EqualText(const char* a, const char* b, int flags);

// Entry `code` of a NULL-terminated list (entry 0 when beyond the list),
// without the entry's first two characters.
const char* KodAsPopupMenuString(int code, const char* const* list);
// Zeroes the buffer and copies that entry into it (within the size).
void InitBufferByKodPopupMenu(char* buffer, int size, int code, const char* const* list);

// `c4dtoa` of the number into memory (width bytes, no NUL).
void ToMemCopyDoubleFmt(char* memory, double number, int width, int decimals);
// The number laid out for printing; returns the count of characters written.
// Decimals flags & 15; 0x10 (or 0x200 while the environment's printZeroValues
// is not 'T') writes nothing for a value that rounds to 0; flags & 0x60: 0
// groups digits by three and widens the result, 0x40 groups within the
// width, 0x20/0x60 do not group; 0x80 blanks trailing decimal zeros (0x100:
// keeps two decimals). The grouping of 0 writes one more character per
// three integer digits than the width (at most width + width / 3).
int MemPrintDoubleFmt(char* memory, double number, int width, int flags);

// CaseStr_ key that marks the default text.
constexpr int CASE_DEFAULT = 0x40000;

struct CaseTextItem {
  int key;
  TextRef text;
};
// Text of the first item whose key equals `key` in the low 16 bits, else of
// the first item whose key has the CASE_DEFAULT bit, else an empty text.
// The list ends at a key 0.
const char* CaseStrList(int key, const CaseTextItem* items);

namespace case_list {
inline int FillText(CaseTextItem*, int done) { return done; }
inline int FillText(CaseTextItem*, int done, int /*endMark*/) { return done; }
template <class Text, class... Rest>
int FillText(CaseTextItem* out, int done, int key, Text text, Rest... rest) {
  if (key == 0) return done;
  out[done] = CaseTextItem{key, TextRef(text)};
  return FillText(out, done + 1, rest...);
}
template <class V>
V FindValue(int, V fallback, bool) { return fallback; }
template <class V>
V FindValue(int, V fallback, bool, int /*endMark*/) { return fallback; }
template <class V, class... Rest>
V FindValue(int key, V fallback, bool haveDefault, int itemKey, V value, Rest... rest) {
  if (itemKey == 0) return fallback;
  if ((key & 0xFFFF) == (itemKey & 0xFFFF)) return value;
  if ((itemKey & CASE_DEFAULT) && !haveDefault) return FindValue<V>(key, value, true, rest...);
  return FindValue<V>(key, fallback, haveDefault, rest...);
}
}  // namespace case_list

// CaseStr_(key, key1, text1, key2, text2, ..., 0): texts or message numbers.
template <class... Args>
const char* CaseStr_(int key, Args... args) {
  CaseTextItem items[sizeof...(Args) / 2 + 1];
  int n = case_list::FillText(items, 0, args...);
  items[n] = CaseTextItem{0, TextRef()};
  return CaseStrList(key, items);
}

// CasePtr_(key, key1, value1, ..., 0): the paired value as given (V{} when none).
template <class V, class... Rest>
V CasePtr_(int key, int key1, V value1, Rest... rest) {
  return case_list::FindValue<V>(key, V{}, false, key1, value1, rest...);
}
