// Character pages filled in memory: a page and a form pattern (a numbered
// text resource of the program) of width x height characters, rectangles
// copied from the pattern, and values written into numbered slots of the
// page through the exported record DeklCtx.
#pragma once
#include <cstdint>
#include "env/session/environment.h"

struct DbField;

struct DeklContext {
  char* page;
  const unsigned char* slots;   // per slot {row from 1, column from 0}; slot n from 1
  int32_t width;
  int32_t height;
  int32_t highest;              // highest row written, from 1
};

extern DeklContext DeklCtx;

// Two pool buffers of `size` bytes: a blank page and the pattern (the
// resource, or blanks without a routine). 0, or -1 when either is missing
// (print_free then releases the other).
int print_alloc(char** pattern, char** page, int size, ResIdRoutine resource);
void print_free(char** pattern, char** page);
int patt_copy_area(char* destination, int width, int destinationRow, int destinationCol, const char* source,
                   int sourceRow, int sourceCol, int length, int rows);

void copy_dekl_str(int slot, int rowOffset, const char* text, int length);
void copy_dekl_maxstring(int slot, int rowOffset, const char* text);
void copy_dekl_maxfield(int slot, int rowOffset, DbField* field);
void copy_dekl_string_m(int slot, int rowOffset, const char* text, int flag);
void copy_dekl_field_m(int slot, int rowOffset, DbField* field, int flag);
int copy_dekl_double(int slot, int rowOffset, double value, int width, int format);
int copy_dekl_double_m(int slot, int rowOffset, double value, int width, int format, int flag);
void copy_dekl_splitstring(int slot, const char* text, int width1, int width2);
// "X" when the field's first character is 'T', else " ".
const char* FldYesNoAsX(DbField* field);
