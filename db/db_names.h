// File names of the engine and a few small helpers.
#pragma once

struct DbEngine;

// Adds (or with `replace` swaps in) the extension and upper-cases the name.
void u4name_ext(char* name, int size, const char* extension, int replace);
void u4name_piece(char* buffer, int size, const char* path, int keep_path, int keep_extension);
void u4name_path(char* buffer, int size, const char* path);
// The extension without its full stop, not terminated; returns its length.
int u4name_ret_ext(char* buffer, int size, const char* path);
void u4name_make(char* buffer, int size, const char* drive, const char* directory, const char* name);
int u4name_char(unsigned char c);

// Years since 1900, month 1-12, day.
void date4today_bytes(unsigned char out[3]);
void* u4alloc_retry(DbEngine* engine, unsigned size);
// Grows *pointer from size to new_size keeping its contents; 0 or -920.
int u4alloc_again(DbEngine* engine, char** pointer, unsigned* size, unsigned new_size);

// A byte of a communication log as shown: the byte itself when printable or
// a Polish letter, else 0x8B, its name from `names` (6-byte entries: the byte
// and up to 5 characters, ended by a 0 byte; NULL for none) or two hex digits
// when no table is given, and 0x9B. Writes at most 8 bytes with the NUL into
// `out`; returns the length.
int c4char_visible(char* out, unsigned char byte, const unsigned char* names);
