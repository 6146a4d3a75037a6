// The search window of the document browses: the operator types a value into
// one of the module's search fields; a field with a tag seeks on it (the
// browse then shows that order), one without looks for the typed text in a
// table field, record by record, forwards and backwards.
#pragma once
#include <cstdint>

struct DbField;
struct DbTag;

typedef const char* (*SearchTextRoutine)();

struct SearchField {
  const char* label;
  DbField** field;          // the field a pattern search looks in
  DbTag** tag;              // when given: search by order on this tag
  void* buffer;             // the input's storage (blank text, 8 blanks for a date, an int)
  uint32_t flags;           // the input element's flags
  SearchTextRoutine text;   // a pattern search without a field looks in this text
  uint32_t end_mark;        // bit 0 on the last item
};

// Kept in the module's browse state; the next opening starts on last_source.
struct SearchContext {
  int window;
  void* last_source;
};

constexpr int LOG_SEARCH_LIST_FULL = 14;
constexpr int LOG_SEARCH_NO_WIDTH = 74;
constexpr int LOG_SEARCH_BAD_TYPE = 75;

void InitSzukajPola(SearchField* array, int bytes);
// A text or date search input starts as `width` blanks, ended for the input's length.
void BlankSearchBuffer(char* buffer, int width);
SearchField* DefineSzukajPole(const char* label, DbField** field, DbTag** tag, void* buffer, uint32_t flags);
// -1 without memory for the window; browse_call's result when a seek found its key; else 0.
int OknoSzukaj(SearchContext* context, SearchField* first);
