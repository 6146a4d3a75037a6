// Texts that forms and printouts compose from documents and contractors:
// document numbers, account and NIP digits, file names, quarters, exchange
// rates, addresses, the last day of a month; and the small record filters
// and keys of the lists.
#pragma once

struct DbField;
struct TabuValue;

// Prefix "/" number "/" suffix: the prefix trimmed and cut to 4 characters,
// the suffix to 9, an empty one without its "/". A negative length takes the
// text up to its NUL.
char* NrDokumentuQStr(const char* prefix, int prefixLength, long number, const char* suffix, int suffixLength);
char* NrDokumentuFldQStr(DbField* prefix, DbField* number, DbField* suffix);
// The same in fixed width: the fields' full widths, the number right-aligned
// in its field's width, a blank for the "/" of a blank prefix or suffix.
char* NrDokumentuStalyQStr(DbField* prefix, DbField* number, DbField* suffix);
// The same from a prefix and a suffix already at their fields' widths.
char* NrDokumentuStalyTekstQStr(const char* prefix, long number, int numberWidth, const char* suffix);

// A bank account in groups: 40 characters, blanks and "-" dropped, the group
// gaps put back after characters 3, 8, 13 ... of the text (counted from 5 when
// it begins with a country code).
char* KontoGrupyQStr(const char* text);
char* BezSpacjiMyslnikowQStr(const char* text);   // at most 40 characters
char* NipQStr(const char* text);                  // without blanks, "-", "."; at most 20
char* NipFldQStr(DbField* field);
// Without the characters a file name cannot hold; at most 40 characters.
char* NazwaPlikuQStr(const char* text);
char* KwartalQStr(int quarter);                   // "III kwartał"
char* KursQStr(const char* currency, double rate);   // "1 EUR = 4.3215 PLN"
// The name alone for a contractor code that is blank but for its third character.
char* KodNazwaKontrahentaQStr(DbField* code, DbField* name);
// An address line from the fields given (any may be NULL).
char* AdresFldsQStr(DbField* postalCode, DbField* postOffice, DbField* town, DbField* street, DbField* house,
                    DbField* flat);
// "CCYYMMDD" of the month's last day.
char* OstatniDzienQStr(int year, int month);

// Report column values. The text (its first 41 characters, trimmed) into the
// output of the column's width, right-aligned; a longer one drops blanks
// while the rest does not fit, then is cut. A width with its top bit set
// leaves the output alone.
void KolumnaTekstFit(const char* text, const TabuValue* column, char* output);
// A value routine: the date value becomes a 10-character text "DD-MM-CCYY",
// blank for an empty date.
void DataKolumnaQStr(TabuValue* value);

// Record filters: 45 accepts, 40 rejects.
// The field against a pattern of `length` characters: "?" any character, "*" the rest.
int WzorzecFiltr(DbField* field, const char* pattern, int length);
// The numeric field equals the digit `character` (">" stands for 0).
int CyfraFiltr(DbField* field, int character);
// 1 when one of the first n characters of the field is "T".
int JestZnacznikT(DbField* field, int n);
// The 12-character key STR(type,2)+STR(year,4)+STR(record,6) of the cash and settlement records.
char* KluczTypRokRek(int type, int year, long record);
