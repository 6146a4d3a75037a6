#include "db/db_names.h"

#include <cstring>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "platform/clock.h"

namespace {

// Windows names use backslashes; names given in Linux form keep their slashes.
bool is_separator(char c) { return c == '\\' || c == '/'; }

// Position just after the directory part (last separator or drive colon).
int name_start(const char* path) {
  int start = 0;
  for (int i = 0; path[i] != 0; i++)
    if (is_separator(path[i]) || path[i] == ':') start = i + 1;
  return start;
}

// Position of the extension's full stop, or -1.
int extension_dot(const char* path) {
  int start = name_start(path);
  const char* dot = std::strrchr(path + start, '.');
  return dot == nullptr ? -1 : (int)(dot - path);
}

void copy_cut(char* buffer, int size, const char* from, int length) {
  if (size <= 0) return;
  if (length > size - 1) length = size - 1;
  std::memcpy(buffer, from, (size_t)length);
  buffer[length] = 0;
}

}  // namespace

void u4name_ext(char* name, int size, const char* extension, int replace) {
  if (name == nullptr || extension == nullptr || size <= 0) e4fatal_stop(e4parm, "u4name_ext()");
  int length = (int)strnlen(name, (size_t)size);
  while (length > 0 && name[length - 1] == ' ') length--;
  name[length < size ? length : size - 1] = 0;
  if (extension[0] == '.') extension++;
  int dot = extension_dot(name);
  if (dot < 0 || replace) {
    int at = dot < 0 ? length : dot;
    int ext_length = (int)std::strlen(extension);
    int room = ext_length + 2 > 5 ? 5 : ext_length + 2;
    if (at + room > size || at + 1 + ext_length + 1 > size) e4fatal_stop(e4result, "u4name_ext()");
    name[at] = '.';
    std::strcpy(name + at + 1, extension);
  }
  c4upper(name);
}

void u4name_piece(char* buffer, int size, const char* path, int keep_path, int keep_extension) {
  if (buffer == nullptr || path == nullptr) e4fatal_stop(e4parm, "u4name_piece()");
  int from = keep_path ? 0 : name_start(path);
  int end = (int)std::strlen(path);
  int dot = extension_dot(path);
  if (!keep_extension && dot >= 0) end = dot;
  copy_cut(buffer, size, path + from, end - from);
  c4upper(buffer);
}

void u4name_path(char* buffer, int size, const char* path) {
  if (buffer == nullptr || path == nullptr) e4fatal_stop(e4parm, "u4name_path()");
  copy_cut(buffer, size, path, name_start(path));
}

int u4name_ret_ext(char* buffer, int size, const char* path) {
  if (buffer == nullptr || path == nullptr || size < 3) e4fatal_stop(e4parm, "u4name_ret_ext()");
  int dot = extension_dot(path);
  if (dot < 0) return 0;
  int length = (int)std::strlen(path + dot + 1);
  if (length > size) length = size;
  std::memcpy(buffer, path + dot + 1, (size_t)length);
  return length;
}

void u4name_make(char* buffer, int size, const char* drive, const char* directory, const char* name) {
  if (buffer == nullptr || size <= 0 || name == nullptr) e4fatal_stop(e4parm, "u4name_make()");
  std::string made;
  bool name_has_drive = std::strlen(name) >= 2 && name[1] == ':';
  if (drive != nullptr && !name_has_drive) made.append(drive, strnlen(drive, 2));
  auto add_part = [&made](const char* part) {
    if (part == nullptr || *part == 0) return;
    if (made.empty() || made.back() != '\\') made += '\\';
    made += (made.back() == '\\' && part[0] == '\\') ? part + 1 : part;
  };
  add_part(directory);
  add_part(name);
  copy_cut(buffer, size, made.c_str(), (int)made.size());
}

int u4name_char(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '&' || c == '@' ||
         c == '_';
}

int c4char_visible(char* out, unsigned char byte, const unsigned char* names) {
  if (out == nullptr) e4fatal_stop(e4parm, "c4char_visible()");
  if ((byte >= 32 && byte <= 126) || (byte >= 128 && IsLetter(byte) && ConvChar(byte, MazToWindowsPairs, 0) != byte)) {
    out[0] = (char)byte;
    out[1] = 0;
    return 1;
  }
  int length = 0;
  out[length++] = (char)0x8B;
  if (names == nullptr) {
    const char* hex = "0123456789ABCDEF";
    out[length++] = hex[byte >> 4];
    out[length++] = hex[byte & 15];
  } else {
    for (const unsigned char* entry = names; entry[0] != 0; entry += 6) {
      if (entry[0] != byte) continue;
      for (int i = 1; i <= 5 && entry[i] != 0; i++) out[length++] = (char)entry[i];
      break;
    }
  }
  out[length++] = (char)0x9B;
  out[length] = 0;
  return length;
}

void date4today_bytes(unsigned char out[3]) {
  PlatDateTime now;
  PlatNow(&now);
  out[0] = (unsigned char)(now.year - 1900);
  out[1] = (unsigned char)now.month;
  out[2] = (unsigned char)now.day;
}

void* u4alloc_retry(DbEngine* engine, unsigned size) {
  void* block = u4alloc(size);
  if (block == nullptr && engine != nullptr && engine->cache.started) {
    d4opt_suspend(engine);
    block = u4alloc(size);
    d4opt_start(engine);
  }
  return block;
}

int u4alloc_again(DbEngine* engine, char** pointer, unsigned* size, unsigned new_size) {
  if (pointer == nullptr || size == nullptr) e4fatal_stop(e4parm, "u4alloc_again()");
  if (new_size <= *size && *pointer != nullptr) return 0;
  char* grown = (char*)u4alloc_retry(engine, new_size);
  if (grown == nullptr) {
    if (engine != nullptr) e4show_error(engine, e4memory);
    return e4memory;
  }
  if (*pointer != nullptr) {
    std::memcpy(grown, *pointer, *size);
    u4free(*pointer);
  }
  *pointer = grown;
  *size = new_size;
  return 0;
}
