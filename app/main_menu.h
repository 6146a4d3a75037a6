// The main menu tree: the main bar, START with its bar and submenus, the
// menu actions over the modules, the notes pages on Shift+F2 and the key
// routine every submenu runs with.
#pragma once
#include <cstdint>

// Builds the main bar (a one-line bar at the top) and returns its window.
int DefineMainBar();
// START: flag 0 from the menu (with the firm choice), 1 from a remote start
// (without). 0, a result of the firm choice of 0 or less, or -1 when the
// own firm's table does not open or the start directory is not entered
// again; the reason has been shown.
int StartMenu(int remote);
// Reads one key and drops any key already waiting.
int MenuKeyRoutine();
// Shift+F2 opens the general notes page.
void BindGeneralNotes();

// The actions of the menu items, by their items' names.
int32_t KatalogiAction(int32_t);
int32_t HaslaAction(int32_t);
int32_t SprzedazAction(int32_t);
int32_t SprzedazPomAction(int32_t);
int32_t WydanieAction(int32_t);
int32_t PrzyjecieAction(int32_t);
int32_t TowaryAction(int32_t);
int32_t UslugiAction(int32_t);
int32_t MagazynOpcjeAction(int32_t);
int32_t ParagonAction(int32_t);
int32_t DetalOpcjeAction(int32_t);
int32_t DrukarkiOpcjeAction(int32_t);
int32_t DrukarkiFunkcjeAction(int32_t);
// Parameter: 16 cash, 4 accounts, 5 contractors, 6 descriptions, 9
// transfers, 13 countries, 14 exchange rates.
int32_t KartotekiAction(int32_t parameter);
int32_t SerwisAction(int32_t);
