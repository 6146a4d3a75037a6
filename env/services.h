// Small services the whole program calls: today's or the working date, text
// comparison and line splitting, and two routines of the screen layer.
#pragma once
#include <cstddef>
#include <cstdint>

// Today as "CCYYMMDD" in a static buffer (overwritten by the next call); the
// environment's working date instead when the system date is switched off
// (useSystemDate 'N') and force is 0.
char* get_cur_das(int force);
// off 0: the first 8 bytes of the buffer become get_cur_das(0), with
// firstOfMonth its day "01"; otherwise the buffer is left alone.
void set_dzien_filter(int off, char* buffer, int firstOfMonth);
// "CCYYMMDD" and a NUL (9 bytes); a number too wide for its place keeps
// its last digits, a negative one gives zeros.
char* set_data_str(int year, int month, int day, char* buffer);

// Compares n characters upper-cased in the system's character set: -1, 0 or 1
// by the first difference; texts that end together before n are equal.
int cmp_str(const char* a, const char* b, int n);

// One line of div_str: `width` characters, blank-padded, not terminated.
struct DivStrLine {
  char* buffer;
  int width;
};
// Spreads the text (length characters, trailing blanks dropped) over the
// lines, breaking at blanks; a text that cannot be laid out so is cut into
// the lines as it is.
void DivStrLines(const char* text, int length, const DivStrLine* lines, int count);

namespace div_str_detail {
inline int Fill(DivStrLine*, int done) { return done; }
inline int Fill(DivStrLine*, int done, std::nullptr_t) { return done; }
inline int Fill(DivStrLine*, int done, int /*end mark 0*/) { return done; }
template <class... Rest>
int Fill(DivStrLine* out, int done, char* buffer, int width, Rest... rest) {
  if (buffer == nullptr) return done;
  out[done] = DivStrLine{buffer, width};
  return Fill(out, done + 1, rest...);
}
}  // namespace div_str_detail

// div_str(text, length, line1, width1, line2, width2, ..., NULL)
template <class... Args>
void div_str(const char* text, int length, Args... args) {
  DivStrLine lines[sizeof...(Args) / 2 + 1];
  const int count = div_str_detail::Fill(lines, 0, args...);
  DivStrLines(text, length, lines, count);
}

// Entries after the first of a NULL-terminated list of texts.
int CountListItems(const char* const* list);

// Screen print: nothing in this system.
int print_screen();
// count cells of the colour (high byte) and character (low byte).
void CellFill(uint16_t* cells, int count, int character, int colour);
