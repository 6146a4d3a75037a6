#include "fiscal/printer_line.h"

#include <cstdarg>
#include <cstdio>

#include "env/code_pages.h"
#include "interchange/serial_port.h"

bool LineWrite(const std::string& bytes) {
  int error = 0;
  for (char c : bytes)
    if (!WaitComWrite(static_cast<unsigned char>(c), &error)) return false;
  return true;
}

int LineRead() {
  int error = 0;
  if (!WaitComReceived(&error)) return -1;
  return ReadCom();
}

std::string Maz(const char* utf8) { return Utf8ToMazText(utf8); }

std::string VFmt(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(static_cast<size_t>(n > 0 ? n : 0), '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  return text;
}

std::string Fmt(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = VFmt(format, args);
  va_end(args);
  return text;
}

std::string To852(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (static_cast<unsigned char>(c) >= 0x80 && IsLetter(c)) c = static_cast<char>(ConvChar(c, MazTo852Pairs, 0));
  return out;
}
