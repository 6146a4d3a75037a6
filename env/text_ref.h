// A text argument of the library: either a message number of a registered
// message table or a text in the system's character set. It keeps the two
// apart instead of passing numbers through pointers; EnvFindString resolves it.
#pragma once

struct TextRef {
  int number;           // 1..65534: a message number; 0: `text` holds the text
  const char* text;     // may be NULL

  constexpr TextRef() : number(0), text(nullptr) {}
  constexpr TextRef(const char* t) : number(0), text(t) {}
  constexpr TextRef(int n) : number(n >= 1 && n <= 65534 ? n : 0), text(nullptr) {}
  constexpr bool IsNumber() const { return number != 0; }
  constexpr bool IsEmpty() const { return number == 0 && text == nullptr; }
};
