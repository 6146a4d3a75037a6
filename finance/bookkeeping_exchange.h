// The exchange with the bookkeeping program: the export of a period's sales
// documents with their cash entries, settlements and the catalogues into one
// packed file "KORB_...EXP", and the import of a "ZELM_...EXP" file whose
// accounts, contractors and descriptions are merged into the catalogues.
// The menu entries EksportDoKsiegowosci and ImportZKsiegowosci are declared
// in app/module_entries.h.
#pragma once
#include "env/text_ref.h"

// The export dialog's record.
struct EksportKsiegowy {
  char od[9];          // "CCYYMMDD"
  char do_[9];
  char katalog[51];
  char nazwa[36];
  char plik[61];
};

// Export counters, in the order of their rows.
enum { LICZNIK_SPRZEDAZ, LICZNIK_POMOCNICZA, LICZNIK_ODBIORCY, LICZNIK_KASA, LICZNIK_ROZLICZENIA, LICZNIKI };

// "KORB_<data year>_<computer date>_<name without trailing blanks>.EXP" into
// the record's file name, at most 60 characters.
void NazwaPlikuEksportu(EksportKsiegowy* e, int rokDanych, const char* dzisiaj);
// Runs the export the record describes in its window: 0, or 1 when the change
// to the directory or the packing failed. `liczniki` (may be NULL) receive
// the counters.
int EksportDlaKsiegowosci(EksportKsiegowy* e, long* liczniki = nullptr);

// The import of one archive: unpacked into a fresh work directory (removed
// afterwards, so no entry ever lands in the firm directory), the seller
// check (questions 215 and 214), then the accounts, contractors and
// descriptions merged in the window "IMPORT DANYCH Z DIZORUD".
void ImportArchiwum(const char* archive);

// The operator's pick among the regular files of `katalog` matching `maska`
// (case ignored): the name (a temporary string), or NULL on Esc, without a
// file (after `komunikat`, a text or a message number, as a warning) or when
// the directory cannot be entered. The current directory is kept.
char* WybierzPlik(const char* katalog, const char* maska, TextRef komunikat);

// The first "<code>(<n>)", n from 1, that Z5KHNT (open) does not hold or that
// belongs to a contractor with the NIP given: a temporary string, empty when
// no counter up to 9999 gives one.
char* NowyKodKontrahenta(const char* kod, const char* nip);
