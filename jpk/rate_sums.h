// The JPK sums of one sales document by VAT rate: the clearing, the adders
// of the current line of the first and of the second (auxiliary) sales slot
// in their variants before and from 2024 and of a receipt's line, the
// placement by rate code and supply type, and the warning of a rate unfit
// for the supply type.
#pragma once
#include "jpk/jpk_context.h"

struct DbTable;

// NET, BRU and every K and RN sum to 0 (kurs and the OSS sums kept).
void zeruj_sumy_stawek_jpk(kontekst_jpk* c);
// The OSS total and the eight OSS net and VAT sums to 0.
void zeruj_sumy_oss_jpk(kontekst_jpk* c);

// The current line of the first slot (Z5SPRE with its header in Z5SPRZ).
// `rejestr` 1 main, 2 auxiliary register; the currency flag keeps amounts in
// the document's currency; with the mode flag kind-8 documents of negative
// net do not count. The export passes mode 0 and factor 1.
void sumuj_pozycje_sprzedazy_jpk_przed_2024(kontekst_jpk* c, int waluta, int rejestr, int tryb, double mnoznik);
void sumuj_pozycje_sprzedazy_jpk(kontekst_jpk* c, int rejestr, int tryb, double mnoznik);
// The current line of the second slot (the auxiliary register's lines).
void sumuj_pozycje_pomocnicza_jpk_przed_2024(kontekst_jpk* c, int waluta);
void sumuj_pozycje_pomocnicza_jpk(kontekst_jpk* c);
// An OSS line (supply type 4): its net and VAT unconverted into the pair of
// its rate code 1-4 and the OSS total; a correction moves the corrected
// amounts from the former code's pair when the code changed.
void dodaj_pozycje_oss_jpk(kontekst_jpk* c, DbTable* lines, bool korekta);

// The current receipt line (Z5PARE) of an invoice issued to a receipt, a
// domestic sale in every year: code 5 adds to K13 with the unfit-rate warning
// naming the receipt.
void sumuj_pozycje_paragonu_jpk(kontekst_jpk* c);

// The placement of the rules from 2024; nothing added when `liczy` is 0.
void dodaj_do_sum_stawek_jpk(kontekst_jpk* c, int kod, double netto, double vat, int typ_dostawy, int liczy);

// "Stawka VAT nieodpowiednia dla typu dostawy !" with the rate and supply
// type named and the number of the document of the line `lines` stands on.
void ostrzezenie_stawki_dostawy(int kod, int typ_dostawy, DbTable* lines);
// The same naming only the auxiliary line's document number.
void ostrzezenie_stawki_dostawy_pomocnicze();
