// Printouts of a single sales document: the dispatch by kind, the invoice
// with its header block, items, page carries and totals block, and the
// pieces the other document printouts take from it.
#pragma once

struct DbField;
struct DbTable;
struct VatSummary;

// Prints the current header of `table`; duplicate and date ("CCYYMMDD") mark
// a reprint. 1 when an invoice was printed (the caller then stores the
// duplicate date), 0 when nothing was printed or for bills, -1 when the
// printer failed before the job started.
int drukuj_dokument_sprzedazy(int kind, DbTable* table, int duplicate, const char* date, int rejestr);
// The invoice job for the form choice (1 net, 2 gross, 4 and 5 the bills
// without VAT); 1 when it ran, 0 when the print dialog was left, -1 without
// lines.
int drukuj_fakture(int kind, int choice, int rejestr);
int drukuj_naglowek_faktury(int firstPass, int rejestr);
int drukuj_pozycje_faktury(long rec, int firstPass, int rejestr);
int naglowek_kolejnej_strony(int rejestr);
// The printed title of a kind.
const char* tytul_dokumentu(int kind, int english, int rejestr);
// The header's REC into *rec; 0 when it has a line, else -1 (" Brak pozycji !" shown).
int sprawdz_pozycje_wydruku(DbField* recField, long* rec);
// Seeks the second headers set on the documents linked to REC; the seek's result.
int szukaj_dokumentow_powiazanych(long rec);

// The totals block and the list of source documents after the last item.
int drukuj_podsumowanie_faktury(long rec, int firstPass, int rejestr);
void wiersz_stawki_vat(int* row, double net, double rate, double vat, double gross, const char* text);
void wiersz_kwot_pln(int* row, char* value, char* pattern, int width, double net, double vat, double gross,
                     int netFirst);
// The marks line of procedure codes and (with goodsGroups) goods groups;
// with show, a message window shows them.
const char* linia_oznaczen(int show, int goodsGroups);
// The same of 13 procedure and 13 group mark characters ('T' set).
const char* tekst_oznaczen(const char* procedureMarks, const char* groupMarks, int show, int goodsGroups);

// The correction printout (kinds 3 and 4; choice 1 net prices, else gross):
// 1 when the job ran, 0 when the dialog was left or a line lacks its
// correction data, -1 without lines.
int drukuj_korekte(int kind, int choice, int rejestr);
int drukuj_naglowek_korekty(int rejestr);
int drukuj_pozycje_korekty(long rec, int firstPass, int rejestr);
int naglowek_kolejnej_strony_korekty();
int drukuj_podsumowanie_korekty(int reverseCharge);
void wiersz_stawki_vat_korekty(int* row, double net, double rate, double vat, double gross, const char* text);

// The simplified invoice (mode 1) or the receipt (mode 0) on the narrow
// page: the simplified invoice gives 1 when it was printed, the receipt 0;
// -1 without lines.
int drukuj_paragon_lub_fakture_uproszczona(int mode);
int naglowek_paragonu();
int naglowek_kolejnej_strony_paragonu();
int pozycje_paragonu(long rec);
int podsumowanie_paragonu();
void wiersz_vat_paragonu(int* row, double rate, double vat, double gross, const char* text);

// The sales-without-invoice sheet: 0, also after printing; -1 without lines.
int drukuj_sprzedaz_bezrachunkowa();
int naglowek_sprzedazy_bezrachunkowej();
int sumuj_sprzedaz_bezrachunkowa(long rec);
int tabela_sprzedazy_bezrachunkowej();

// The margin invoice: 1 when the job ran, 0 when the dialog was left, -1
// without lines.
int drukuj_fakture_marza(int rejestr);
int naglowek_faktury_marza(int rejestr);
int pozycje_faktury_marza(long rec, int firstPass, int rejestr);
int podsumowanie_faktury_marza(int reverseCharge);
int naglowek_kolejnej_strony_marza();

// " WZ " of the register's print menu: the release number and date asked,
// stored under a lock of the whole headers table, then the note printed.
int wydruk_wz();
// The note of the header REC: 1 when the job ran, else 0.
int drukuj_wz(long rec);
// 1 (after the message) when another document but a PRO FORMA holds the
// release number; otherOnly passes over the current record.
int sprawdz_numer_wz(long number, int otherOnly, int message);
int naglowek_wz(int firstPass);
int pozycje_wz(long rec, int firstPass);
int podsumowanie_wz();
int naglowek_kolejnej_strony_wz();
// "NWZ/YY" of the current header.
const char* numer_wz_tekst();
