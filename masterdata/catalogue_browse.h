// The browse of the small catalogues (accounts, descriptions): a menu bar of
// actions, the list, a numbered form of a few fields, the common keys with
// the operator's rights, and their code and name checks.
#pragma once
#include <cstdint>

#include "env/text_ref.h"
#include "ui/menu.h"

struct BrowseContext;

struct DbField;
struct DbTable;
struct DbTag;
struct EditCtrl;
struct ScrollColumn;
struct TabuColumn;
struct TextCtrl;

struct CatalogueAction {
  const char* text;
  int right;
  int key;
  int32_t value;
  MenuAction action;
};

struct CatalogueBrowse {
  DbTable* table;
  DbTag* tag;                     // the order the list starts in
  ScrollColumn* columns;
  TabuColumn* printColumns;       // NULL: no printout
  EditCtrl* edits;
  TextCtrl* texts;                // the form's fields as shown
  int16_t formResource;
  int formLines;
  TextRef title;
  DbField* stamp;
  const CatalogueAction* actions;
  int actionCount;
  int appendRight, modifyRight, deleteRight;
  int (*complete)();              // the whole record before it is stored: 0 or refused
  int (*beforeAppend)(int);       // inside the append lock
};

// Runs the catalogue over its open table from its first record; 0.
int RunCatalogueBrowse(const CatalogueBrowse& spec);

// Runs a catalogue from a list that a form opened: the caret hidden and the
// current window kept, both put back afterwards; the catalogue's result.
int RunFromList(int (*catalogue)());

// Menu actions of the bar.
int32_t CatalogueAppend(int32_t repeated);
int32_t CatalogueModify(int32_t);
int32_t CataloguePrint(int32_t);
int32_t CatalogueDelete(int32_t ask);

// The search of a catalogue's list by a key: the prompt in the browse's seek
// window with an upper-cased entry of `width` characters right after it;
// Enter seeks the text on the tag, and the list shows the record found or
// the next one in key order (where it stood when the key lies after the
// last record). 0, or -1 on an engine error.
int SzukajWKatalogu(const char* prompt, int width, DbTag* tag);
// The prompt and its entry in the browse's seek window (one of its own when
// the browse has none): a text under the picture (none: any), upper-cased
// when `upper`; the picture "DD-MM/YY" edits a date "CCYYMMDD". The key that
// ended the entry.
int PytanieWOknieSzukania(BrowseContext* c, const char* prompt, char* text, const char* picture, bool upper);

// 1 after "Pole nie może być puste." when `empty`, else 0.
int EmptyRefused(bool empty);
// 1 after `duplicate` when a record other than the one being modified holds
// `key` in the tag, else 0.
int DuplicateRefused(DbTable* table, DbTag* tag, const char* key, TextRef duplicate);
