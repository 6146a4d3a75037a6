// Text moved between table fields (fixed width, blank-padded, not
// terminated), memory and temporary strings, and the small sums over
// numeric fields. Every copy stays within the field's width.
#pragma once

struct DbField;
struct DbTable;

// Temporary strings of fields.
char* FldQStr(DbField* field, int flags);
char* FldDefQStr(DbField* field, const char* defaultText, int flags);
char* MaxFldQStr(DbField* field);
char* FldDoubleQStr(DbField* field, int width, int flags);
char* FldDateQStr(DbField* field);        // "DD-MM/YY"
char* FldFullDateQStr(DbField* field);    // "DD-MM-CCYY"
// The fields' contents without trailing blanks joined by one blank; the
// list ends at the first NULL.
char* TrimFldsToQStrList(DbField* const* fields);
template <class... Fields>
char* TrimFldsToQStr_(Fields... fields) {
  DbField* const list[] = {fields..., nullptr};
  return TrimFldsToQStrList(list);
}

void ToFieldCopyField(DbField* destination, DbField* source);      // the smaller width
void ToFieldCopyMaxField(DbField* destination, DbField* source);   // the source's width (cut at the destination's)
void ToMaxFieldCopyField(DbField* destination, DbField* source);   // the destination's width (blanks past the source)
void ToMaxFieldCopyMem(DbField* field, const char* memory);
void ToFieldCopyMem(DbField* field, const char* memory, int n);    // n cut at the width
void ToFieldCopyMaxString(DbField* field, const char* text);
void ToMemCopyMaxField(char* memory, DbField* field);
void ToMemCopyField(char* memory, DbField* field, int n);          // n cut at the width
void EmptyRecord(DbTable* table);
void EmptyField(DbField* field);
void FillMaxField(DbField* field, int character);
void EmptyMemSizeOfField(char* memory, DbField* field);
void ToFieldCopyDouble(DbField* field, double number);
void ToFieldCopyLongint(DbField* field, long number);
// Adds the number, rounds to the field's decimals and writes it back; returns the new value.
double FldAddDouble(DbField* field, double number);
double Suma2(DbField* a, DbField* b);
// An exchange rate: the value, or 1 when it is zero or negative.
double FldKurs(DbField* field);
double ProcentKwoty(DbField* a, DbField* b);
int FieldIsEmpty(DbField* field);
const char* FieldAsPopupMenuString(DbField* field, const char* const* list);
void InitBufferByFieldPopupMenu(char* buffer, int size, DbField* field, const char* const* list);
int MemPrintFieldFmt(char* memory, DbField* field, int width, int flags);
void FldCopyString(DbField* field, const char* text);
void FldCopyStringEx(DbField* field, const char* text, int most);
int FldEqualText(DbField* a, DbField* b, int flags);
int FldEqualStr(DbField* field, const char* text, int flags);

// Lists ended by NULL.
void EmptyFieldList(DbField* const* fields);
void ZeroFieldList(DbField* const* fields);
double SumaList(DbField* const* fields);
template <class... Fields>
void EmptyFields_(Fields... fields) {
  DbField* const list[] = {fields..., nullptr};
  EmptyFieldList(list);
}
template <class... Fields>
void ZeroFields_(Fields... fields) {
  DbField* const list[] = {fields..., nullptr};
  ZeroFieldList(list);
}
template <class... Fields>
double Suma_(Fields... fields) {
  DbField* const list[] = {fields..., nullptr};
  return SumaList(list);
}

// cmp_str (env/services.h) of a text against the field's contents.
int cmp_str_field(const char* text, DbField* field);
