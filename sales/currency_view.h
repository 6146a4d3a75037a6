// The currency view of the sales register (amounts in PLN by the VAT rate,
// in PLN by the bookkeeping rate, or in the document's own currency) and the
// value routines that turn header fields into the texts of the document
// list, the line list, the information panel, the header forms and the
// tabulogram.
#pragma once
#include <cstddef>

struct ColumnValue;
struct DbField;
struct Get4;
struct TabuValue;
struct TextCtrl;

// Modes of the view.
constexpr int VIEW_PLN_VAT = 0, VIEW_PLN_BOOKS = 1, VIEW_OWN_CURRENCY = 2;

// The factor of a document: its VAT rate (mode 0), its bookkeeping rate
// (mode 1), each 1 when not positive; 1 in the own currency.
double kurs_widoku(int mode, DbField* rateVat, DbField* rateBooks);
// "PLN dla rozliczenia VAT", "PLN dla księgowania" or the currency code.
const char* nazwa_widoku_waluty(int mode, const char* currency);
// Appends the view's description to a report title of `size` bytes.
void dopisz_opis_widoku_waluty(char* title, size_t size, int mode, const char* currency);
// The place of the F5 hint on the register's help line.
constexpr int CURRENCY_VIEW_HINT = 4;
// The F5 hint at `position`: the name of the view F5 switches to.
void podpowiedz_widoku_waluty(int mode, int position);
// Draw routine of a currency field: "PLN" in the PLN views, else the
// field's code; and at (row, col) the label of the view.
void pokaz_kod_waluty(TextCtrl* entry, int mode, int row, int col);
// Draw routine of an amount field converted by the view.
void pokaz_kwote_w_widoku(TextCtrl* entry, int mode, DbField* rateVat, DbField* rateBooks);
// Converts a numeric value by the view (the own currency leaves it).
void przelicz_kwote_widoku(ColumnValue* value, int mode, DbField* rateVat, DbField* rateBooks);

// Texts of the current header.
// The 17 characters of 13 marks (NKV or NKK): the digit of a set mark 1-9,
// the two digits of a set mark 10-13, blanks for the others.
void tekst_oznaczen(DbField* marks, char* out17);
// The 3-character mark column of the list.
void tekst_oznaczenia_dokumentu(char* out3);

// Value routines of the register's document list, line list and tabulogram.
void kolumna_typu(ColumnValue* value);
void kolumna_numeru(ColumnValue* value);
void kolumna_oznaczenia(ColumnValue* value);
void kolumna_oznaczen(ColumnValue* value);     // procedure or GTU marks of the column's field
void kolumna_ceny_pozycji(ColumnValue* value);
void kolumna_netto_pozycji(ColumnValue* value);
void tabulogram_kwota(TabuValue* value);        // NET, VAT, BRU, KRN, KRV, KZA by the report mode
void tabulogram_numer(TabuValue* value);        // "_ND"
void tabulogram_korekta_brutto(TabuValue* value);   // "_KB"
void tabulogram_do_zaplaty(TabuValue* value);   // "_RO"
void tabulogram_procedury(TabuValue* value);    // "_PR"
void tabulogram_gtu(TabuValue* value);          // "_OZ"

// Draw routines of the information panel (by the list's view).
void panel_kwota(TextCtrl* entry);
void panel_waluta(TextCtrl* entry);
void panel_kraj(TextCtrl* entry);
void panel_rodzaj_powiazany(TextCtrl* entry);
void panel_numer_wz(TextCtrl* entry);


// Draw routines of the header forms: the kind's name (from 2024), the
// number (free or fixed-width) and the corrected document's kind.
void formularz_rodzaj(TextCtrl* entry);
void formularz_numer(TextCtrl* entry);
void formularz_rodzaj_korygowany(TextCtrl* entry);
// The linked document's number (none for a pro forma) and the split-payment
// answer, "T" or "N", where the form shows what is typed into its buffers.
void formularz_numer_powiazany(TextCtrl* entry);
void formularz_mpp(TextCtrl* entry);
