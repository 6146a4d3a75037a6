// Building blocks of the XML of tax declarations, beside the JPK files:
// address checks, the taxpayer and address elements, the namespace prefixes
// of the declaration schemas (under the switch of the JPK files), the small
// element helpers, and the declaration files' entries in Z5DEKL.
#pragma once
#include "env/text_ref.h"

struct DbField;

// ---- addresses; `rodzaj` names the address in messages ("zameldowania",
// "zamieszkania", "firmy", "właściciela", in the system's character set)

struct AdresPolski {
  const char* kraj;
  const char* wojewodztwo;
  const char* powiat;
  const char* gmina;
  const char* nr_domu;
  const char* miejscowosc;
  const char* kod_pocztowy;
};
// 1 when the country reads "POLSKA" and the voivodeship, district, commune,
// house number and town are filled and the postal code does not begin with
// a blank; else 0, with `pokaz` after the box "Błąd adresu <rodzaj>." naming
// what is missing.
int sprawdz_adres_polski(const AdresPolski& adres, const char* rodzaj, int pokaz);
// 1 when the country is filled and not "POLSKA" and the town is filled.
int sprawdz_adres_zagraniczny(const char* kraj, const char* miejscowosc, const char* rodzaj, int pokaz);
// The address of the current Z5PRAC record a declaration takes: 1 or 3 the
// registration address (Polish, foreign), 2 or 4 the residence address,
// 9 none valid (after the message naming the person).
int wybierz_adres_osoby();

// ---- elements; `prefiks` puts the element names through prefiks_etd

void zapisz_osobe_niefizyczna(int poziom, DbField* nip, DbField* nazwa1, DbField* nazwa2, DbField* regon, int prefiks);
// NIP for a 10-character identifier, else PESEL; then the names and the birth date.
void zapisz_identyfikator_osoby(int poziom, const char* identyfikator, DbField* imie, DbField* nazwisko,
                                DbField* data_urodzenia, int prefiks);
void zapisz_osobe_fizyczna(int poziom, DbField* nip, DbField* pesel, const char* identyfikator, DbField* imie,
                           DbField* nazwisko, DbField* data_urodzenia, int prefiks);
// The own firm (Z5PAWL open) or its owner, then AdresZamieszkaniaSiedziby of
// kind `rad`: 1 written, 0 when the address failed its check (nothing written).
int zapisz_podatnika_z_adresem(int poziom, const char* rad, int prefiks);

// The first four, the fifth and the sixth character of a text (temporary strings).
char* p1(const char* text);
char* p2(const char* text);
char* p3(const char* text);
// <tag><p1>value</p1><p2>year-month</p2></tag>, before 2010 with a further p2.
void zapisz_okres_deklaracji(int poziom, const char* tag, double wartosc, int rok, int miesiac);
// The last ten digits of a text, padded on the left with '0'; empty without digits.
char* tylko_cyfry(const char* text);

// ---- namespace prefixes: the prefix and the name while the switch is on

char* prefiks_vzd(const char* name);
char* prefiks_zzu(const char* name);
char* prefiks_zo28(const char* name);
char* prefiks_zd(const char* name);
char* prefiks_z28a(const char* name);
char* prefiks_z28b(const char* name);
char* prefiks_zm(const char* name);
char* prefiks_zo3x(const char* name);
char* prefiks_vzz(const char* name);
char* prefiks_vzt(const char* name);
char* prefiks_zuz(const char* name);
char* prefiks_kck(const char* name);
char* prefiks_zwzr(const char* name);
char* prefiks_dto(const char* name);
char* prefiks_tns(TextRef name);
// "zb36l:" below 18, else "zb36x:".
char* prefiks_zb36_wg_liczby(int number, const char* name);
// Chosen by a flag: the first prefix when set.
char* prefiks_zb36ls(int flag, const char* name);   // "zb36ls:" / "zb36l:"
char* prefiks_zb36x(int flag, const char* name);    // "zb36x:" / "zb36:"
char* prefiks_zb36s(int flag, const char* name);    // "zb36s:" / "zb36:"
char* prefiks_zo36lx(int flag, const char* name);   // "zo36lx:" / "zo3x:"
char* prefiks_zbr36s(int flag, const char* name);   // "zbr36s:" / "zbr36:"
char* prefiks_zbr36x(int flag, const char* name);   // "zbr36x:" / "zbr36:"
char* prefiks_zbr36ls(int flag, const char* name);  // "zbr36ls:" / "zbr36l:"
char* prefiks_zwz36x(int flag, const char* name);   // "zwz36x:" / "zwz36:"
char* prefiks_zg36l(int flag, const char* name);    // "zg36l:" / "zg36:"

// ---- declaration files in Z5DEKL (Z5DEKL and Z5PAWL open)

// NIP (11) + kind (3) + year (4) + month (2) + version (2), or for a form
// filed for another person NIP + that NIP (11) + kind + year + version.
char* klucz_deklaracji(int kod, int rok, int miesiac, int wersja, const char* nip_osoby);
// 1 when the current entry has the kind, year and month and the NIP given
// (the other person's NPR when `nip_osoby` is given, else the entry's NIP).
int czy_wpis_deklaracji(int kod, int rok, int miesiac, const char* nip, const char* nip_osoby);
// NRF of the sent entry of the form and period; empty when none.
char* numer_referencyjny_deklaracji(int kod, int rok, int miesiac);
// The version of a new declaration file: as for the JPK files, each sent
// version asking "Deklaracja wysłana do M.F." / "Czy wyeksportować jako
// korektę?"; -1 on Esc.
int sprawdz_eksport_deklaracji(int kod, int rok, int miesiac);
// The entry of a declaration file, added or rewritten as the JPK files' is;
// the second sets CEL and NRK from the call.
long zapisz_deklaracje(int kod, int rok, int miesiac, int wersja, const char* plik, const char* od,
                       const char* do_);
long zapisz_deklaracje_cel(int kod, int rok, int miesiac, int cel, int nrk, const char* plik, const char* od,
                           const char* do_);
