// Stand-ins of the fiscal-printer and cash-register services whose drivers
// are not built yet: the operator's windows and menus say they are not
// available yet.
#include "app/module_entries.h"
#include "app/stand_in_screens.h"
#include "fiscal/cash_register.h"

int CzytajParametryKF() { return 0; }

int KasaCennik() { return NotAvailableYet("Kasa - Cennik"); }

int KasaRaport() { return NotAvailableYet("Kasa - Raport"); }

int KasaZerowanie() { return NotAvailableYet("Kasa - Zerowanie"); }

int KasaWeryfikacja() { return NotAvailableYet("Kasa - Weryfikacja"); }

int KasaUsun() { return NotAvailableYet("Kasa - Usuń"); }

int KasaOpcje() { return NotAvailableYet("Kasa - Opcje"); }

int KolektorZerowanie() { return NotAvailableYet("Kolektor - Zerowanie"); }

int KolektorAktualizacja() { return NotAvailableYet("Kolektor - Aktualizacja"); }
