// The amounts of a receipt position kept consistent: the net family for
// receipts filled with net prices (the gross prices derived) and the gross
// family for gross ones (the net prices derived), and the validators of the
// positions form's amount slots that start them.
#include <string>

#include "app/prompts.h"
#include "db/dbf_table.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "retail/receipt_positions.h"
#include "tables/receipt_tables.h"
#include "ui/message_box.h"

namespace retail {

int trybWypelniania = 1;

namespace {

constexpr int MSG_TOO_LARGE = 20160;

DbField* P(const char* name) { return d4field(Z5PARE.table, name); }
double Get(const char* name) { return f4double(P(name)); }
void Set(const char* name, double value) { ToFieldCopyDouble(P(name), value); }

bool Net() { return trybWypelniania != 2; }

// A value of 1e8 or more: the box names which one, nothing changes.
bool TooLarge(double value, const char* which) {
  if (value < MAKS_WARTOSC_PARAGONU) return false;
  std::string text = RcQStr(MSG_TOO_LARGE);
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, which);
  Uwaga(TextRef(text.c_str()));
  return true;
}

// The validators' end: the form shown again after a chain that went
// through, the cursor kept when it refused.
int Shown(int chain) {
  if (chain != 0) return 1;
  OdswiezGety();
  return 0;
}

int PriceChain() { return Net() ? licz_od_ceny_netto() : licz_od_ceny_brutto(); }
void ValueChain() { Net() ? licz_od_wartosci_netto() : licz_od_wartosci_brutto(); }

}  // namespace

int licz_od_ceny_netto() {
  Set("CNB", ROUND(Get("CNB"), 2));
  Set("CNR", Get("CNB") - ROUND(Get("RAS") * Get("CNB") * 0.01, 2));
  return licz_wartosc_netto(Get("CNR") * Get("ILO"));
}

int licz_wartosc_netto(double value) {
  if (TooLarge(value, "netto")) return -1;
  Set("WNE", ROUND(value, 2));
  licz_od_wartosci_netto();
  return 0;
}

void licz_od_wartosci_netto() {
  double f = (Get("VAS") + 100) * 0.01;
  Set("CBR", ROUND(Get("CNR") * f, 2));
  Set("CBB", ROUND(f * Get("CNB"), 2));
  Set("WAV", ROUND(Get("VAS") * Get("WNE") * 0.01, 2));
  Set("WAB", Get("WNE") + Get("WAV"));
}

int licz_od_ceny_brutto() {
  Set("CBB", ROUND(Get("CBB"), 2));
  Set("CBR", Get("CBB") - ROUND(Get("RAS") * Get("CBB") * 0.01, 2));
  return licz_wartosc_brutto(Get("CBR") * Get("ILO"));
}

int licz_wartosc_brutto(double value) {
  if (TooLarge(value, "brutto")) return -1;
  Set("WAB", ROUND(value, 2));
  licz_od_wartosci_brutto();
  return 0;
}

void licz_od_wartosci_brutto() {
  double a = Get("WAB");
  double q = Get("ILO") > 0 ? Get("ILO") : 1;
  double vas = Get("VAS");
  double c = vas / (vas + 100);
  Set("WAV", ROUND(a * c, 2));
  Set("CNR", ROUND((a - ROUND(a * c, 2)) / q, 2));
  double m = ROUND(q * Get("CBB"), 2);
  Set("CNB", ROUND((m - ROUND(c * m, 2)) / q, 2));
  Set("WNE", Get("WAB") - Get("WAV"));
}

// The slots edit the position's fields directly: each validator finds its
// value stored and runs the chain of the fill mode.
int ilosc_pozycji(Get4*) { return Shown(PriceChain()); }
int cena_pozycji(Get4*) { return Shown(PriceChain()); }
int rabat_ceny_pozycji(Get4*) { return Shown(PriceChain()); }

int cena_po_rabacie(Get4*) {
  if (Net()) {
    Set("CNR", ROUND(Get("CNR"), 2));
    return Shown(licz_wartosc_netto(Get("ILO") * Get("CNR")));
  }
  Set("CBR", ROUND(Get("CBR"), 2));
  return Shown(licz_wartosc_brutto(Get("ILO") * Get("CBR")));
}

int wartosc_pozycji(Get4*) {
  ValueChain();
  return Shown(0);
}

int kod_vat_pozycji(Get4*) {
  ValueChain();
  return Shown(0);
}

int wartosc_vat_pozycji(Get4*) {
  if (Net())
    Set("WAB", Get("WNE") + Get("WAV"));
  else
    Set("WNE", Get("WAB") - Get("WAV"));
  return Shown(0);
}

}  // namespace retail
