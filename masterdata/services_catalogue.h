// The services catalogue: the browse over "Z5USLU" with its panel, entry
// form, menus, filters and keys, and the same catalogue opened from the pick
// lists of documents. kartoteka_uslug itself is a module entry
// (app/module_entries.h).
#pragma once

#include "ui/definition_lists.h"
#include "ui/filters.h"

constexpr int SERVICE_FILTERS = 3;
constexpr int SERVICE_COLUMNS = 8;
constexpr int SERVICE_PANEL_TEXTS = 24;
constexpr int SERVICE_FORM_EDITS = 36;
constexpr int SERVICE_TABU_COLUMNS = 24;
constexpr int SERVICE_GROUP_COLUMNS = 12;
constexpr int SERVICE_CHOICE_TEXT = 41;
constexpr int SERVICE_GTU_TEXT = 81;
constexpr int SERVICE_ACCOUNT_TEXT = 9;

// What one run of the catalogue owns.
struct kontekst_kartoteki_uslug {
  // The action menu and its submenus Usuń, Szukaj and Drukuj.
  int menu, menu_usun, menu_szukaj, menu_drukuj;
  FilterSet filtry;
  FilterItem pozycje_filtrow[SERVICE_FILTERS];
  // Texts of the form's choice fields, blank-padded to their shown widths.
  char tekst_vtz[SERVICE_CHOICE_TEXT], tekst_vts[SERVICE_CHOICE_TEXT], tekst_nas[SERVICE_CHOICE_TEXT],
      tekst_tyz[SERVICE_CHOICE_TEXT], tekst_tyk[SERVICE_CHOICE_TEXT], tekst_cva[SERVICE_CHOICE_TEXT],
      tekst_typ[SERVICE_CHOICE_TEXT], tekst_ryt[SERVICE_CHOICE_TEXT];
  char tekst_gtu[SERVICE_GTU_TEXT];
  // The numbers of the purchase and sales accounts KOZ and KOS identify.
  char konto_zakupu[SERVICE_ACCOUNT_TEXT], konto_sprzedazy[SERVICE_ACCOUNT_TEXT];
  ScrollColumn kolumny[SERVICE_COLUMNS];
  TextCtrl panel[SERVICE_PANEL_TEXTS];
  TextCtrl teksty[2];
  EditCtrl pola[SERVICE_FORM_EDITS];
  TabuColumn tabulogram[SERVICE_TABU_COLUMNS], grupy[SERVICE_GROUP_COLUMNS];
};

// The catalogue opened from a document's pick list: only with the rights of
// 7000 and 7700 (else 0); the current window and the cursor are kept.
int kartoteka_uslug_z_dokumentu();
