// What the JPK files share: the period dialog "DANE DO EKSPORTU FAKTUR", the
// tax office code of the own firm, the code of a country name, the header
// and taxpayer elements, the date-time of the header, the cleaner of default
// file names and the switch that puts the "etd:" prefix on element names.
#pragma once
#include "jpk/jpk_context.h"

struct DbField;

// Off at start; the JPK exports switch it on for the rest of the run.
extern int przelacznik_prefiksow_xml;
// "etd:" and the name while the switch is on, else the name (a temporary string).
char* prefiks_etd(const char* name);

// The period dialog over the context's miesiac, data_od and data_do: 0 when
// closed with Enter or F2, -1 otherwise. A month gives its first and last
// day in the working year (February 29 in leap years).
int dane_eksportu_faktur(kontekst_jpk* c);

// The four-digit code at the start of `code`, else the office looked up by
// its name in Z5USKA; empty (after the two-line box) when not found.
char* kod_urzedu_skarbowego(DbField* code, DbField* officeName);
// KKR of the country named (Z5KRAJ), else `defaultText` (or an empty text);
// a name not found shows message 20121.
char* kod_kraju(const char* name, const char* defaultText);

// `Naglowek` of JPK_FA(variant) over the context's period.
void zapisz_naglowek_jpk(const kontekst_jpk* c, int wariant, const char* kod_urzedu);
// `Podmiot1` from the own firm (Z5PAWL open): with the prefix flag the
// elements get "etd:"; Poczta is left out with the second flag.
void zapisz_podmiot1_jpk(int prefiks, int bez_poczty);
// The same as the JPK_FA(4) schema has it: NIP and PelnaNazwa without the
// prefix, no Poczta.
void zapisz_podmiot1_jpk_fa4();

// Now as "CCYY-MM-DDThh:mm:ss" (a temporary string).
char* data_czas_jpk();
// Polish letters to plain ones, every character but '-', letters and digits
// to '_'; in place, the length kept.
char* oczysc_nazwe_pliku_jpk(char* text);
