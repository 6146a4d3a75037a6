// The goods catalogue: the browse over "Z5TOWA" with its panel, entry form,
// menus, filters, keys and clipboard; the same catalogue opened from the
// pick lists of documents, goods added from a document, and the selling-price
// window of the purchase-price update. The context of one run is shared with
// the browse actions of goods_actions.h.
#pragma once
#include <string>

#include "ui/definition_lists.h"
#include "ui/filters.h"

struct Wiget;

constexpr int GOODS_FILTERS = 8;
constexpr int GOODS_COLUMNS = 8;
constexpr int GOODS_PANEL_TEXTS = 37;
constexpr int GOODS_FORM_TEXTS = 48;
constexpr int GOODS_FORM_EDITS = 46;
constexpr int GOODS_TABU_COLUMNS = 36;
constexpr int GOODS_SUMS = 8;   // WZN, WZB, WSN, WSB, WBN, WBB, WCN, WCB
constexpr int CHOICE_TEXT = 41;

struct kontekst_kartoteki_towarow {
  // The action menu and its six submenus.
  int menu, menu_szukaj, menu_drukuj, menu_usun, menu_kasa, menu_modyfikuj, menu_kolektor;
  FilterSet filtry;
  FilterItem pozycje_filtrow[GOODS_FILTERS];
  // Stocktaking answers: zero quantities 'T'/'N', the committee, the dates
  // (CCYYMMDD), the price kind 1 to 4, and the sheet's net, VAT and gross sums.
  char spis_zera[2];
  char komisja[4][41];
  char data_od[9], data_do[9];
  int rodzaj_ceny;
  double sumy_spisu[3];
  double sumy[GOODS_SUMS];
  double csb_przed;   // price A gross before a modification, for the mark rule
  int schowek_pelny;
  char* schowek;      // one record of the goods table
  ScrollColumn kolumny[GOODS_COLUMNS];
  TextCtrl panel[GOODS_PANEL_TEXTS];
  TextCtrl teksty[GOODS_FORM_TEXTS];
  EditCtrl pola[GOODS_FORM_EDITS];
  TabuColumn tabulogram[GOODS_TABU_COLUMNS], grupy[GOODS_TABU_COLUMNS], eksport[GOODS_TABU_COLUMNS];
  char tekst_typ[CHOICE_TEXT], tekst_tyk[CHOICE_TEXT], tekst_nas[CHOICE_TEXT], tekst_ryt[CHOICE_TEXT],
      tekst_rty[CHOICE_TEXT], tekst_tyz[CHOICE_TEXT], tekst_vst[CHOICE_TEXT], tekst_vzt[CHOICE_TEXT],
      tekst_cva[CHOICE_TEXT], konto_zakupu[CHOICE_TEXT], konto_sprzedazy[CHOICE_TEXT];
  char tekst_gtu[81];
  std::string tekst_formularza;   // the form's background when it runs without the browse
  kontekst_kartoteki_towarow* poprzedni;   // the run's context it stands in for, given back at its end
};

// The context of the running catalogue (NULL outside a run); a context built
// during another run stands in for it until it is freed.
extern kontekst_kartoteki_towarow* KontekstTowarow;

// Builds the context of one run (mode 1 with the browse parts: menus,
// columns, filters, panel and tabulograms) and makes it current; NULL when
// memory runs out. The goods table is open.
kontekst_kartoteki_towarow* definicja_kartoteki_towarow(int mode);
void zwolnij_definicje_kartoteki_towarow(kontekst_kartoteki_towarow* context);

// The catalogue: the browse over the goods table, which the caller opened.
// -1 when the context or the clipboard cannot be allocated.
// (kartoteka_towarow is declared with the module entries.)
// The browse's key hook: F6 mark, F7 status, F8 GTU mark, Ctrl+Z the
// clipboard, F2 the record preview.
int klawisze_kartoteki_towarow(int key);
// Copies the current record into the clipboard of the run; 1 when copied.
int schowek_towaru();

// The catalogue opened from a document's pick list: only with the rights of
// 7000 and 7500 (else 0); window and cursor kept.
int kartoteka_towarow_z_dokumentu();
// Asks whether to add the unknown code and runs the new goods form; -1 on
// Esc or failure, else the form's result. The caller seeks the code again.
int dopisz_towar_z_dokumentu(const char* code);
// The new goods form over the given code: 1 when it ended (saved and
// appended, or left), -1 when the append failed.
int formularz_nowego_towaru(const char* code);
// "USTALENIE CEN SPRZEDAŻY" over the current goods record: 0 when saved
// with F2, -1 otherwise.
int ustal_ceny_sprzedazy();
