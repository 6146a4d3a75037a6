// Document kinds of the sales registers (header field TYV): their names, the
// description of a document, the default number prefix and suffix of each
// kind and the titles of the number window.
#pragma once
#include <initializer_list>
#include <vector>

// The kind's name ("Faktura", "Faktura korygująca" ...); kind 9 of the
// auxiliary register before 2024 is the advance invoice. Empty for kinds
// 12 to 14 and unknown kinds.
const char* nazwa_rodzaju_dokumentu(int kind, int rejestr);
// The number of the current header: the free number when RE4 is 'N', else
// prefix/number/suffix. A temporary string.
char* opis_numeru_dokumentu();
// The current header as "<name> nr <number> z <DD-MM-CCYY>": the free number
// when RE4 is 'N', else prefix/number/suffix. A temporary string.
char* opis_dokumentu_sprzedazy(int rejestr);

// The kind's default prefix (at most 4 characters) and suffix (at most 9)
// from the sales options; empty for a kind without its own pair. register:
// 1 main, 2 auxiliary (kind 9 there before 2024 takes the advance pair).
const char* prefiks_numeru_rodzaju(int kind, int rejestr);
const char* sufiks_numeru_rodzaju(int kind, int rejestr);

// The title of a kind in the number windows ("FAKTURA", "KOREKTA" ...)
// without its "n. "; an empty text for a kind outside 1..14.
const char* KindTitle(int kind);

// The two letters of a kind in the lists and panels; from 2024 kinds 1 and
// 7 linked as final, collective or receipt-final invoices (link 1 to 3, the
// header's AKT or the line's RFK) show as KZ, ZB, KP.
const char* KindCode(int kind, int rejestr, int link);
// The " Dopisz " kind menu items before 2024 (UTF-8), item n for kind n;
// rejestr 1 main, 2 auxiliary.
std::vector<const char*> AddKindItemsBefore2024(int rejestr);
// The number windows' title: before 2024 the kind's " Dopisz " item without
// its "n. ", from 2024 KindTitle.
const char* NumberWindowTitle(int kind, int rejestr);

// A UTF-8 text in the system's character set, kept while the program runs.
const char* Sys(const char* utf8);
// A list of texts shown by a field's number (entry 0 blank), kept while the
// program runs; NULL-terminated.
const char* const* CodeList(std::initializer_list<const char*> items);
// The delivery types of a header or a line; from 2024 the nine of the
// " DOSTAWA" menu, before the four of the older years.
const char* const* DeliveryList(bool from2024);
