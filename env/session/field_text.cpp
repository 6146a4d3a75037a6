#include "env/session/field_text.h"

#include <cstring>
#include <vector>

#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"

namespace {

int Width(DbField* field) { return static_cast<int>(f4len(field)); }

int Smaller(int a, int b) { return a < b ? a : b; }

double Value(DbField* field) { return QuickDouble(f4ptr(field), Width(field)); }

// The field as an 8-byte date; a narrower field is padded with blanks.
void DateOf(DbField* field, char* date) {
  std::memset(date, ' ', 8);
  std::memcpy(date, f4ptr(field), Smaller(Width(field), 8));
}

}  // namespace

char* FldQStr(DbField* field, int flags) { return QuickStr(f4ptr(field), Width(field), flags); }

char* FldDefQStr(DbField* field, const char* defaultText, int flags) {
  if (FieldIsEmpty(field)) return QuickStr(defaultText, -1, flags);
  return FldQStr(field, flags);
}

char* MaxFldQStr(DbField* field) {
  int width = Width(field);
  char* place = GetCycleBuffer(width + 1);
  std::memcpy(place, f4ptr(field), Smaller(width, CYCLE_BUFFER_SIZE - 1));
  return CommitCycleBuffer(width, QSTR_TAG_MAX_FIELD);
}

char* FldDoubleQStr(DbField* field, int width, int flags) { return DoubleQStr(Value(field), width, flags); }

char* FldDateQStr(DbField* field) {
  char date[8];
  DateOf(field, date);
  return DateQStr(date);
}

char* FldFullDateQStr(DbField* field) {
  char date[8];
  DateOf(field, date);
  return FullDateQStr(date);
}

char* TrimFldsToQStrList(DbField* const* fields) {
  std::vector<TextPiece> pieces;
  for (DbField* const* field = fields; *field != nullptr; ++field) pieces.push_back(TextPiece{f4ptr(*field), Width(*field)});
  return TrimPiecesToQStr(pieces.data(), static_cast<int>(pieces.size()), QSTR_TAG_TRIM_FIELDS);
}

void ToFieldCopyField(DbField* destination, DbField* source) {
  std::memmove(f4assign_ptr(destination), f4ptr(source), Smaller(Width(destination), Width(source)));
}

void ToFieldCopyMaxField(DbField* destination, DbField* source) { ToFieldCopyField(destination, source); }

void ToMaxFieldCopyField(DbField* destination, DbField* source) {
  int width = Width(destination);
  int taken = Smaller(width, Width(source));
  char* target = f4assign_ptr(destination);
  std::memmove(target, f4ptr(source), taken);
  std::memset(target + taken, ' ', width - taken);
}

void ToMaxFieldCopyMem(DbField* field, const char* memory) {
  std::memcpy(f4assign_ptr(field), memory, Width(field));
}

void ToFieldCopyMem(DbField* field, const char* memory, int n) {
  if (n <= 0) return;
  std::memcpy(f4assign_ptr(field), memory, Smaller(n, Width(field)));
}

void ToFieldCopyMaxString(DbField* field, const char* text) { BufCopy(f4assign_ptr(field), Width(field), text); }

void ToMemCopyMaxField(char* memory, DbField* field) { std::memcpy(memory, f4ptr(field), Width(field)); }

void ToMemCopyField(char* memory, DbField* field, int n) {
  if (n <= 0) return;
  std::memcpy(memory, f4ptr(field), Smaller(n, Width(field)));
}

void EmptyRecord(DbTable* table) { d4blank(table); }

void EmptyField(DbField* field) { FillMaxField(field, ' '); }

void FillMaxField(DbField* field, int character) { std::memset(f4assign_ptr(field), character, Width(field)); }

void EmptyMemSizeOfField(char* memory, DbField* field) { std::memset(memory, ' ', Width(field)); }

void ToFieldCopyDouble(DbField* field, double number) {
  c4dtoa(number, f4assign_ptr(field), Width(field), f4decimals(field), 0);
}

void ToFieldCopyLongint(DbField* field, long number) { c4ltoa(number, f4assign_ptr(field), Width(field)); }

double FldAddDouble(DbField* field, double number) {
  double value = ROUND(Value(field) + number, f4decimals(field));
  ToFieldCopyDouble(field, value);
  return value;
}

double Suma2(DbField* a, DbField* b) { return Value(a) + Value(b); }

double FldKurs(DbField* field) {
  double rate = Value(field);
  return rate > 0 ? rate : 1;
}

double ProcentKwoty(DbField* a, DbField* b) { return Value(a) * Value(b) * 0.01; }

int FieldIsEmpty(DbField* field) { return BufferIsEmpty(f4ptr(field), Width(field)); }

const char* FieldAsPopupMenuString(DbField* field, const char* const* list) {
  return KodAsPopupMenuString(c4atoi(f4ptr(field), Width(field)), list);
}

void InitBufferByFieldPopupMenu(char* buffer, int size, DbField* field, const char* const* list) {
  InitBufferByKodPopupMenu(buffer, size, c4atoi(f4ptr(field), Width(field)), list);
}

int MemPrintFieldFmt(char* memory, DbField* field, int width, int flags) {
  return MemPrintDoubleFmt(memory, Value(field), width, flags);
}

void FldCopyString(DbField* field, const char* text) { BufCopy(f4assign_ptr(field), Width(field), text); }

void FldCopyStringEx(DbField* field, const char* text, int most) {
  BufCopyEx(f4assign_ptr(field), Width(field), text, most);
}

int FldEqualText(DbField* a, DbField* b, int flags) {
  return std::strcmp(FldQStr(a, flags), FldQStr(b, flags)) == 0 ? 1 : 0;
}

int FldEqualStr(DbField* field, const char* text, int flags) {
  return std::strcmp(FldQStr(field, flags), QuickStr(text, -1, flags)) == 0 ? 1 : 0;
}

void EmptyFieldList(DbField* const* fields) {
  for (DbField* const* field = fields; *field != nullptr; ++field) EmptyField(*field);
}

void ZeroFieldList(DbField* const* fields) {
  // Only numeric fields: a zero written into text or date fields would corrupt them.
  for (DbField* const* field = fields; *field != nullptr; ++field)
    if (f4type(*field) == 'N') ToFieldCopyDouble(*field, 0);
}

double SumaList(DbField* const* fields) {
  double sum = 0;
  for (DbField* const* field = fields; *field != nullptr; ++field) sum += Value(*field);
  return sum;
}

int cmp_str_field(const char* text, DbField* field) {
  return cmp_str(text, f4ptr(field), static_cast<int>(f4len(field)));
}
