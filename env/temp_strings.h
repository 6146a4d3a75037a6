// Temporary strings: short-lived texts built in the environment's 8192-byte
// ring and handed out without allocation. A temporary string stays valid
// until the ring wraps round over it (after roughly 8 KB of later strings);
// callers use it at once or copy it. Every ...QStr function returns one.
// No builder writes past the end of the ring: a text longer than the ring
// is cut at 8191 characters.
#pragma once
#include "env/text_ref.h"

constexpr int CYCLE_BUFFER_SIZE = 8192;

// Caller tags of CommitCycleBuffer; they appear only in log code 36.
enum {
  QSTR_TAG_TRIM_STRINGS = 2,
  QSTR_TAG_TRIM_FIELDS = 3,
  QSTR_TAG_PRINTF = 4,
  QSTR_TAG_QUICK = 5,
  QSTR_TAG_MAX_FIELD = 6,
  QSTR_TAG_LONG = 7,
  QSTR_TAG_DOUBLE = 8,
  QSTR_TAG_SERIAL = 9,
};

// QuickStr flags.
enum {
  QS_RTRIM = 1,      // drop trailing blanks
  QS_LTRIM = 2,      // skip leading blanks
  QS_UPPER = 4,      // upper-case (wins over QS_LOWER)
  QS_LOWER = 8,      // lower-case
  QS_CRLF = 16,      // drop trailing CR and LF
};

// The place where a string of up to n bytes (NUL included) may be built;
// reserves nothing. Wraps the ring when n is not below what is left.
char* GetCycleBuffer(int n);
// Ends the string that starts at the ring's current place (length -1: its
// NUL-terminated length) and moves past it; returns the string.
char* CommitCycleBuffer(int length, int tag);
int IsCycleBufferPtr(const void* pointer);
// Length of the string committed last.
int CycleBufferLastLength();

// Copy of a text (length -1: up to its NUL, at most 32767) with QS_ flags.
char* QuickStr(const char* text, int length, int flags);
// Right-aligned in a width of flags & 15 (0: 12, leading blanks dropped);
// flag 0x10 turns the leading blanks into '0'.
char* LongQStr(long number, int flags);
// Decimals flags & 15; 0x10 decimal comma; 0x20 drop trailing decimal zeros
// (0x40: keep two decimals). Width 0: 16 and leading blanks dropped.
char* DoubleQStr(double number, int width, int flags);
// The formatted text (format: a text or a message number), at most 249
// characters; the miss text of an unknown message number comes back as it is.
char* PrintfQStr(TextRef format, ...);

// A text of a known length, not necessarily terminated (a field's bytes).
struct TextPiece {
  const char* text;
  int length;
};
// The pieces without trailing blanks joined by one blank; a piece empty
// after trimming adds nothing, not even the blank.
char* TrimPiecesToQStr(const TextPiece* pieces, int count, int tag);

// TrimPiecesToQStr of texts or message numbers; the list ends at the first
// empty item (0).
char* TrimStringsToQStrList(const TextRef* items);
template <class... Items>
char* TrimStringsToQStr_(Items... items) {
  const TextRef list[] = {TextRef(items)..., TextRef()};
  return TrimStringsToQStrList(list);
}

// One item of SerialQStr_: a text copied up to `count` characters (negative:
// up to its NUL, at most 32767), or a character written `count` times.
struct SerialItem {
  const char* text;
  int character;
  int count;
};
char* SerialQStrList(const SerialItem* items, int itemCount);

namespace serial_qstr {
inline SerialItem Item(const char* text, int count) { return SerialItem{text, 0, count}; }
inline SerialItem Item(char* text, int count) { return SerialItem{text, 0, count}; }
inline SerialItem Item(int character, int count) { return SerialItem{nullptr, character, count}; }
inline int Fill(SerialItem*, int done) { return done; }
inline int Fill(SerialItem*, int done, int /*endMark*/) { return done; }
template <class Item_, class... Rest>
int Fill(SerialItem* out, int done, Item_ item, int count, Rest... rest) {
  out[done] = Item(item, count);
  if (out[done].text == nullptr && out[done].character == 0) return done;   // the item 0 ends the list
  return Fill(out, done + 1, rest...);
}
}  // namespace serial_qstr

// Pairs (item, count) ended by an item 0: an item that is a text is copied,
// a character (below 256) is repeated.
template <class... Args>
char* SerialQStr_(Args... args) {
  SerialItem items[sizeof...(Args) / 2 + 1];
  int n = serial_qstr::Fill(items, 0, args...);
  return SerialQStrList(items, n);
}
