// Stand-ins of the fiscal-printer services whose drivers
// are not built yet: the operator's windows and menus say they are not
// available yet.
#include "app/module_entries.h"
#include "app/stand_in_screens.h"

int TpLineOpcje() { return NotAvailableYet("Opcje drukarki TP Line"); }

int PosnetFunkcjePomocnicze() { return NotAvailableYet("Funkcje drukarki POSNET"); }

int TpLineFunkcjePomocnicze() { return NotAvailableYet("Funkcje drukarki TP Line"); }

int OrhmetFunkcjePomocnicze() { return NotAvailableYet("Funkcje drukarki ORHMET"); }

int ElzabFunkcjePomocnicze() { return NotAvailableYet("Funkcje drukarki ELZAB"); }

int SparkFunkcjePomocnicze() { return NotAvailableYet("Funkcje drukarki SPARK"); }
