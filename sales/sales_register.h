// The sales register: the browse over the document headers of the year with
// its menus, columns, information panel and action keys. Its definition
// record lives while the register runs.
#pragma once
#include <cstdint>

#include "ui/definition_lists.h"

constexpr int REGISTER_MENUS = 6;   // main bar, Szukaj, Modyfikuj, Drukuj, Nabywca, Menu
constexpr int REGISTER_COLUMNS = 9;
constexpr int REGISTER_LINE_COLUMNS = 5;
constexpr int REGISTER_TABU_COLUMNS = 22;
constexpr int REGISTER_PANEL_FIELDS = 37;

struct definicja_rejestru_sprzedazy {
  int32_t menus[REGISTER_MENUS];
  int currencyView;            // 0, 1, 2 (the amounts of the list and panel)
  int lastDelivery;            // the delivery type last chosen
  int f3Count;                 // F3 presses since the linked documents were last shown
  char nuk[21];                // the linked-document number being entered
  int advanceFlag;             // 3 while an advance invoice is entered, else 0
  bool splitPaymentAnswered;   // "yes" to the split-payment question in this form
  ScrollColumn columns[REGISTER_COLUMNS];
  ScrollColumn lineColumns[REGISTER_LINE_COLUMNS];
  TabuColumn tabulogram[REGISTER_TABU_COLUMNS];
  TextCtrl panel[REGISTER_PANEL_FIELDS];
  bool cashPitShown;           // from 2025 with option 144
};

// The definition of the running register; NULL outside it.
extern definicja_rejestru_sprzedazy* definicjaRejestru;

// Builds the menus, columns, tabulogram and panel of the register; 0, or -1
// without memory.
int buduj_definicje_rejestru(definicja_rejestru_sprzedazy** out, int rejestr);
// Closes the menus (last first) and frees the definition.
void zwolnij_definicje_rejestru(definicja_rejestru_sprzedazy** definition);
// The key hook of the register's browse.
int klawisze_rejestru_sprzedazy(int key);
// F3 twice on a final or collective invoice: the list of the documents it
// was made from (the auxiliary register's headers in the second set).
void ShowLinkedDocuments();
// Points the browse's form at the correction form (kinds 3, 4) or the
// ordinary one.
void wybierz_formularz_naglowka(int kind);
