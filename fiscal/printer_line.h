// What the simple printer drivers share: bytes moved over the port layer
// within its deadline, and the texts they show.
#pragma once
#include <cstdarg>
#include <string>

// Writes every byte before the current deadline; false at the first that does not go.
bool LineWrite(const std::string& bytes);
// One byte before the current deadline, or -1.
int LineRead();
// A UTF-8 text in the system's character set.
std::string Maz(const char* utf8);
// printf into a string.
std::string Fmt(const char* format, ...);
std::string VFmt(const char* format, va_list args);
// The text with the Polish letters of the system's set turned into code page 852 (other characters unchanged).
std::string To852(const std::string& text);
