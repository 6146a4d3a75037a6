// Stand-ins of the fiscal-printer and cash-register services until the
// device drivers are built. No printer type can be configured yet, so the
// configured type stays 1 (none): the parameter loaders load nothing, the
// printer check reports no printer, and the operator's windows and menus
// say they are not available yet.
#include "app/module_entries.h"
#include "app/stand_in_screens.h"
#include "fiscal/cash_register.h"
#include "ui/message_box.h"

namespace {
constexpr int MSG_NO_PRINTER = 27;
constexpr int PRINTER_NONE = 1;
}  // namespace

int CzytajParametryKF() { return 0; }

int CzytajParametryDETAL() { return 0; }

int DFBrakDrukarki() {
  Uwaga(MSG_NO_PRINTER);
  return 1;
}

// No driver can answer, so no connection is ever open.
int DFOpen(int skipCheck) {
  if (!skipCheck) {
    DFBrakDrukarki();
    return 0;
  }
  NotAvailableYet("Drukarka fiskalna");
  return 0;
}

void DFClose() {}

int DFPrinterType() { return PRINTER_NONE; }

int DFConnectionDriver() { return -1; }

int DFOpcjeParagonow() { return NotAvailableYet("OPCJE paragonów"); }

int PosnetOpcje() { return NotAvailableYet("Opcje drukarki POSNET"); }

int TpLineOpcje() { return NotAvailableYet("Opcje drukarki TP Line"); }

int OrhmetOpcje() { return NotAvailableYet("Opcje drukarki ORHMET"); }

int ElzabOpcje() { return NotAvailableYet("Opcje drukarki ELZAB"); }

int SparkOpcje() { return NotAvailableYet("Opcje drukarki SPARK"); }

int PosnetFunkcjePomocnicze() { return NotAvailableYet("Funkcje drukarki POSNET"); }

int TpLineFunkcjePomocnicze() { return NotAvailableYet("Funkcje drukarki TP Line"); }

int OrhmetFunkcjePomocnicze() { return NotAvailableYet("Funkcje drukarki ORHMET"); }

int ElzabFunkcjePomocnicze() { return NotAvailableYet("Funkcje drukarki ELZAB"); }

int SparkFunkcjePomocnicze() { return NotAvailableYet("Funkcje drukarki SPARK"); }

int KasaCennik() { return NotAvailableYet("Kasa - Cennik"); }

int KasaRaport() { return NotAvailableYet("Kasa - Raport"); }

int KasaZerowanie() { return NotAvailableYet("Kasa - Zerowanie"); }

int KasaWeryfikacja() { return NotAvailableYet("Kasa - Weryfikacja"); }

int KasaUsun() { return NotAvailableYet("Kasa - Usuń"); }

int KasaOpcje() { return NotAvailableYet("Kasa - Opcje"); }

int KolektorZerowanie() { return NotAvailableYet("Kolektor - Zerowanie"); }

int KolektorAktualizacja() { return NotAvailableYet("Kolektor - Aktualizacja"); }
