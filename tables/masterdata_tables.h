// The catalogues documents draw on: goods "Z5TOWA" (one per working year,
// carried over into a new year), services "Z5USLU", contractors "Z5KHNT"
// (in the firm, the common or an option's directory), accounts "Z5KONT",
// descriptions "Z5OPIS"; countries "Z5KRAJ", tax offices "Z5USKA" and
// exchange rates "Z5KURS" in the common directory; the temporary goods and
// services tables the modules sort and print through.
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5TOWA, Z5USLU, Z5KHNT, Z5KONT, Z5OPIS, Z5KRAJ, Z5USKA, Z5KURS;
extern TableHandles TowaTmp, UslugaTmp;

int OpenZ5TOWA(int flags);
int OpenZ5USLU(int flags);
int OpenZ5KHNT(int flags);
int OpenZ5KONT(int flags);
int OpenZ5OPIS(int flags);
int OpenZ5KRAJ(int flags);
int OpenZ5USKA(int flags);
int OpenZ5KURS(int flags);

// Two temporary names (table and index) made once a run; 0 or -1.
int NameTowaTmp();
int NameUslugaTmp();
// Creates the table and its index under the names and binds them; 0 or -1.
int CreateTowaTmp();
int CreateUslugaTmp();
// Deletes the two files whose names are set; 0.
int RemoveTowaTmp();
int RemoveUslugaTmp();

// The d4seek_n results: accounts by the number's first characters, by the
// 5-digit ident; descriptions by the upper-cased code in 5 characters.
int SeekKontoByNum(const char* number);
int SeekKontoByRec(long ident);
int SeekOpisByKod(const char* code);
