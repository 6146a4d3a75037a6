#include "env/temp_strings.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "env/code_pages.h"
#include "env/env_state.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "env/numbers.h"

namespace {

constexpr int LOG_RING_WRAP_EARLY = 34;   // the ring wrapped after fewer than 2 strings
constexpr int LOG_RING_TOO_SMALL = 35;    // a request of the ring's whole size or more
constexpr int LOG_RING_CUT = 36;          // a string longer than what was left, cut
constexpr int TEXT_MAX = 32767;
constexpr int PRINTF_ROOM = 250;

// Used only while no environment holds a ring (before CreateEnvironment and
// after DeleteEnvironment), so early texts do not need a special path.
char g_spareRingBytes[CYCLE_BUFFER_SIZE];
CycleBuffer g_spareRing = {g_spareRingBytes, g_spareRingBytes, CYCLE_BUFFER_SIZE, 0};
int g_lastLength = 0;

CycleBuffer* Ring() {
  const EnvState* env = EnvCurrentState();
  if (env != nullptr && env->temporaryStrings->base != nullptr) return env->temporaryStrings;
  return &g_spareRing;
}

// Builds one temporary string of unknown length at the ring's current place;
// when the next character would not fit, the text so far moves to the start
// of the ring; a text that does not fit the whole ring is cut.
class RingBuilder {
 public:
  explicit RingBuilder(int estimate) : start_(GetCycleBuffer(estimate)) {}
  bool Put(char c) {
    if (length_ + 1 >= Ring()->left && !MakeRoom()) return false;
    start_[length_++] = c;
    return true;
  }
  void PutText(const char* text, int n) {
    for (int i = 0; i < n && Put(text[i]); ++i) {
    }
  }
  int Length() const { return length_; }
  char* Text() { return start_; }
  char* Commit(int length, int tag) { return CommitCycleBuffer(length, tag); }

 private:
  bool MakeRoom() {
    char* place = GetCycleBuffer(length_ + 2);
    if (place != start_) {
      std::memmove(place, start_, length_);
      start_ = place;
    }
    return length_ + 1 < Ring()->left;
  }
  char* start_;
  int length_ = 0;
};

int TextLength(const char* text, int limit) {
  int n = 0;
  while (n < limit && text[n] != '\0') ++n;
  return n;
}

const char* Resolve(const TextRef& ref) {
  // The message table itself, not RcQStr: a builder is using the ring.
  return ref.IsNumber() ? EnvMessageText(ref.number) : ref.text;
}

}  // namespace

char* GetCycleBuffer(int n) {
  CycleBuffer* ring = Ring();
  if (n >= ring->left) {
    // Logged before the ring moves, so texts the log makes do not disturb
    // it; the window that shows the entry may take temporary strings itself,
    // which must not log again.
    static bool logging = false;
    if (!logging) {
      logging = true;
      if (ring->made < 2) ErrLogMessage(EL_ERROR, LOG_RING_WRAP_EARLY, TextRef());
      if (n >= CYCLE_BUFFER_SIZE) ErrLogMessage(EL_ERROR, LOG_RING_TOO_SMALL, TextRef());
      logging = false;
    }
    ring = Ring();
    ring->cur = ring->base;
    ring->left = CYCLE_BUFFER_SIZE;
    ring->made = 0;
  }
  return ring->cur;
}

char* CommitCycleBuffer(int length, int tag) {
  CycleBuffer* ring = Ring();
  char* text = ring->cur;
  bool cut = false;
  if (length < 0) length = TextLength(text, ring->left);
  if (length >= ring->left) {
    length = ring->left - 1;
    cut = true;
  }
  text[length] = '\0';
  ring->cur += length + 1;
  ring->left = static_cast<int16_t>(ring->left - (length + 1));
  ++ring->made;
  g_lastLength = length;
  if (cut) ErrLogMessage(EL_ERROR | EL_FORMAT, LOG_RING_CUT, " SUB(%i); %s", tag, text);
  return text;
}

int IsCycleBufferPtr(const void* pointer) {
  const CycleBuffer* ring = Ring();
  const char* p = static_cast<const char*>(pointer);
  return p >= ring->base && p < ring->base + CYCLE_BUFFER_SIZE ? 1 : 0;
}

int CycleBufferLastLength() { return g_lastLength; }

char* QuickStr(const char* text, int length, int flags) {
  int limit = length < 0 ? TEXT_MAX : length;
  RingBuilder out(length > 0 ? length + 1 : 16);
  int i = 0;
  if (text != nullptr) {
    if (flags & QS_LTRIM)
      while (i < limit && text[i] == ' ') ++i;
    int keep = 0;
    for (; i < limit && text[i] != '\0'; ++i) {
      char c = text[i];
      if (!out.Put(c)) break;
      bool dropped = (c == ' ' && (flags & QS_RTRIM)) || ((c == '\r' || c == '\n') && (flags & QS_CRLF));
      if (!dropped) keep = out.Length();
    }
    char* result = out.Commit(keep, QSTR_TAG_QUICK);
    if (flags & QS_UPPER)
      c4upper(result);
    else if (flags & QS_LOWER)
      c4lower_str(result);
    return result;
  }
  return out.Commit(0, QSTR_TAG_QUICK);
}

char* LongQStr(long number, int flags) {
  int width = flags & 15;
  bool strip = width == 0;
  if (strip) width = 12;
  char* place = GetCycleBuffer(width + 1);
  c4ltoa(number, place, width);
  if (flags & 0x10) {
    int i = 0;
    while (i < width && place[i] == ' ') place[i++] = '0';
    if (i < width && place[i] == '-' && i > 0) {   // the sign goes in front of the zeros
      place[i] = '0';
      place[0] = '-';
    }
  }
  char* result = CommitCycleBuffer(width, QSTR_TAG_LONG);
  if (strip)
    while (*result == ' ') ++result;
  return result;
}

char* DoubleQStr(double number, int width, int flags) {
  volatile double shifted = number + 1.0;   // drops -0 and residues below the precision at 1
  number = shifted - 1.0;
  bool strip = width == 0;
  if (strip) width = 16;
  int decimals = flags & 15;
  char* place = GetCycleBuffer(width + 1);
  c4dtoa(number, place, width, decimals, 0);
  char* result = CommitCycleBuffer(width, QSTR_TAG_DOUBLE);
  if ((flags & 0x20) && decimals > 0 && std::strchr(result, '.') != nullptr) {
    int end = width;
    int point = static_cast<int>(std::strchr(result, '.') - result);
    int keepDecimals = (flags & 0x40) ? 2 : 0;
    while (end > point + 1 + keepDecimals && result[end - 1] == '0') result[--end] = '\0';
    if (end == point + 1) result[--end] = '\0';
  }
  if (flags & 0x10) {
    char* point = std::strchr(result, '.');
    if (point != nullptr) *point = ',';
  }
  if (strip)
    while (*result == ' ') ++result;
  return result;
}

char* PrintfQStr(TextRef format, ...) {
  const char* text = Resolve(format);
  if (text == nullptr) text = "";
  // An unknown message number comes back as its miss text, unformatted.
  if (format.IsNumber() && text[0] == '?') return QuickStr(text, -1, 0);
  char* place = GetCycleBuffer(PRINTF_ROOM);
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(place, PRINTF_ROOM, text, args);
  va_end(args);
  if (n < 0) n = 0;
  if (n > PRINTF_ROOM - 1) n = PRINTF_ROOM - 1;
  return CommitCycleBuffer(n, QSTR_TAG_PRINTF);
}

char* TrimPiecesToQStr(const TextPiece* pieces, int count, int tag) {
  RingBuilder out(16);
  for (int i = 0; i < count; ++i) {
    int n = pieces[i].text != nullptr ? TextLength(pieces[i].text, pieces[i].length) : 0;
    while (n > 0 && pieces[i].text[n - 1] == ' ') --n;
    if (n == 0) continue;
    if (out.Length() > 0) out.Put(' ');
    out.PutText(pieces[i].text, n);
  }
  return out.Commit(out.Length(), tag);
}

char* TrimStringsToQStrList(const TextRef* items) {
  std::vector<TextPiece> pieces;
  for (const TextRef* item = items; !item->IsEmpty(); ++item) {
    const char* text = Resolve(*item);
    if (text == nullptr) break;
    pieces.push_back(TextPiece{text, TEXT_MAX});
  }
  return TrimPiecesToQStr(pieces.data(), static_cast<int>(pieces.size()), QSTR_TAG_TRIM_STRINGS);
}

char* SerialQStrList(const SerialItem* items, int itemCount) {
  RingBuilder out(16);
  for (int i = 0; i < itemCount; ++i) {
    const SerialItem& item = items[i];
    if (item.text != nullptr) {
      int n = item.count < 0 ? TextLength(item.text, TEXT_MAX) : TextLength(item.text, item.count);
      out.PutText(item.text, n);
    } else {
      for (int k = 0; k < item.count && out.Put(static_cast<char>(item.character)); ++k) {
      }
    }
  }
  return out.Commit(out.Length(), QSTR_TAG_SERIAL);
}
