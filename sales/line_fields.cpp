#include "sales/line_fields.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/prompts.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "sales/document_lines.h"
#include "sales/line_code.h"
#include "sales/line_form.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/message_box.h"

namespace {

constexpr int MSG_TOO_LARGE = 20160;
constexpr int MSG_TOO_MANY = 41, MSG_TOO_FEW_IN_STOCK = 42;
constexpr int FIRST_YEAR_WITHOUT_REVERSE_CHARGE = 2020;
constexpr int LINE_LENGTH = 78;

DbField* Line(const char* name) { return d4field(Z5SPRE.table, name); }
double Get(const char* name) { return f4double(Line(name)); }
void Set(const char* name, double value) { ToFieldCopyDouble(Line(name), value); }
int Digit(DbField* field) { return c4atoi(f4ptr(field), static_cast<int>(f4len(field))); }
double Round2(double x) { return ROUND(x, 2); }
int PricePlaces() { return salesOptions.roundPrices == 'T' ? 2 : 4; }

bool Compact() { return kontekstPozycji && kontekstPozycji->formularz_skrocony; }
bool Correction() { return kontekstPozycji && kontekstPozycji->korekta; }
bool PurchaseValue() { return kontekstPozycji && kontekstPozycji->wartosc_zakupu; }
bool GrossEntry() { return kontekstPozycji && kontekstPozycji->cena == 2; }
bool MarginInvoice() { return f4int(Line("TYV")) == 8; }

// The handlers end by showing the form's values again.
int Shown(Get4* get, int result) {
  if (get) OdswiezGety();
  return result;
}

// A value too large for the field: the box names which one, nothing changes.
bool TooLarge(double value, const char* which) {
  if (value < MAKS_WARTOSC_POZYCJI) return false;
  std::string text = RcQStr(MSG_TOO_LARGE);
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, which);
  Uwaga(TextRef(text.c_str()));
  return true;
}

// The price of the field rounded to grosz when the option asks so; the
// price after the discount from it.
double DiscountedPrice(const char* price, const char* discount, const char* discounted) {
  double x = Get(price);
  int p = PricePlaces();
  if (p == 2) {
    x = Round2(x);
    Set(price, x);
  }
  Set(discounted, ROUND((1 - Get(discount) * 0.01) * x, p));
  return Get(discounted);
}

int NetChain() {
  double value = DiscountedPrice("CNB", "RAS", "CNR") * Get("ILO");
  if (ustaw_wartosc_netto(value) != 0) return -1;
  przelicz_vat_od_netto(nullptr);
  return przelicz_brutto_pozycji(nullptr);
}

int GrossChain() {
  double value = DiscountedPrice("CBB", "RAS", "CBR") * Get("ILO");
  if (ustaw_wartosc_brutto(value) != 0) return -1;
  przelicz_od_brutto(nullptr);
  return netto_z_brutto(nullptr);
}

int CorrectionNetChain() {
  double value = DiscountedPrice("KCNB", "KRAS", "KCNR") * Get("KILO");
  if (TooLarge(value, "korekty netto")) return -1;
  Set("KWNE", Round2(value));
  przelicz_vat_korekty_od_netto(nullptr);
  return przelicz_brutto_korekty(nullptr);
}

int CorrectionGrossChain() {
  double value = DiscountedPrice("KCBB", "KRAS", "KCBR") * Get("KILO");
  if (TooLarge(value, "korekty brutto")) return -1;
  Set("KWAB", Round2(value));
  przelicz_korekte_od_brutto(nullptr);
  return netto_korekty_z_brutto(nullptr);
}

int PriceChain() {
  if (GrossEntry()) {
    if (GrossChain() != 0) return -1;
    if (PurchaseValue()) przelicz_marze(nullptr);
    return 0;
  }
  return NetChain();
}

// The correction starts from the line as it was: copied once for each code.
void TakeCorrectionCopy() {
  kontekst_pozycji* c = kontekstPozycji;
  char code[19] = {};
  std::memcpy(code, f4ptr(Line("KOT")), std::min<size_t>(18, f4len(Line("KOT"))));
  if (std::strcmp(code, c->kod_kopii_korekty) == 0) return;
  for (const char* name : {"ILO", "CNB", "CBB", "RAS", "CNR", "CBR", "VAT", "VAS"}) {
    std::string twin = std::string("K") + name;
    ToFieldCopyField(Line(twin.c_str()), Line(name));
  }
  etykiety_tekstow_pozycji();
  std::memcpy(c->kod_kopii_korekty, code, sizeof code);
}

}  // namespace

int ustaw_wartosc_netto(double value) {
  if (TooLarge(value, "netto")) return -1;
  Set("WNE", Round2(value));
  int code = f4int(Line("VAT"));
  if (code == 7 || code == 10) f4assign_char(Line("CSS"), 'N');
  return 0;
}

int ustaw_wartosc_brutto(double value) {
  if (TooLarge(value, "brutto")) return -1;
  Set("WAB", Round2(value));
  return 0;
}

int przelicz_od_ceny_netto(Get4* get) { return Shown(get, NetChain()); }

int przelicz_od_ceny_brutto(Get4* get) {
  if (GrossChain() != 0) return Shown(get, -1);
  if (PurchaseValue()) przelicz_marze(nullptr);
  return Shown(get, 0);
}

int ustaw_wartosc_z_ceny_netto(Get4* get) {
  if (ustaw_wartosc_netto(Get("ILO") * Get("CNR")) != 0) return Shown(get, -1);
  przelicz_vat_od_netto(nullptr);
  return Shown(get, przelicz_brutto_pozycji(nullptr));
}

int ustaw_wartosc_z_ceny_brutto(Get4* get) {
  if (ustaw_wartosc_brutto(Get("ILO") * Get("CBR")) != 0) return Shown(get, -1);
  przelicz_od_brutto(nullptr);
  netto_z_brutto(nullptr);
  if (PurchaseValue()) przelicz_marze(nullptr);
  return Shown(get, 0);
}

int przelicz_vat_od_netto(Get4* get) {
  int p = PricePlaces();
  double f = (Get("VAS") + 100) * 0.01;
  Set("CBR", ROUND(Get("CNR") * f, p));
  Set("CBB", ROUND(f * Get("CNB"), p));
  double vat = Round2(Get("VAS") * Get("WNE") * 0.01);
  Set("WAV", MarginInvoice() ? ZerujMinusowe(vat) : vat);
  return get ? przelicz_brutto_pozycji(get) : 0;
}

int przelicz_brutto_pozycji(Get4* get) {
  Set("WAB", Get("WNE") + Get("WAV"));
  if (Correction()) {
    Set("KRN", Get("KWNE") - Get("WNE"));
    Set("KRV", Get("KWAV") - Get("WAV"));
  }
  return Shown(get, 0);
}

int przelicz_od_brutto(Get4* get) {
  int p = PricePlaces();
  double a = Get("WAB");
  double q = Get("ILO") > 0 ? Get("ILO") : 1;
  double vas = Get("VAS");
  double d = vas / (vas + 100);
  Set("WAV", MarginInvoice() ? ZerujMinusowe(Round2(d * (a - Get("ZFM")))) : Round2(a * d));
  Set("CNR", ROUND((a - Round2(a * d)) / q, p));
  double m = Round2(q * Get("CBB"));
  Set("CNB", ROUND((m - Round2(d * m)) / q, p));
  if (!get) return 0;
  netto_z_brutto(nullptr);
  if (PurchaseValue()) przelicz_marze(nullptr);
  return Shown(get, 0);
}

int netto_z_brutto(Get4* get) {
  Set("WNE", Get("WAB") - Get("WAV"));
  return Shown(get, 0);
}

int vat_brutto_pozycji(Get4* get) {
  if (PurchaseValue()) {
    Set("WNE", Get("WAB") - (Get("ZFM") + Get("WAV")));
    return Shown(get, 0);
  }
  return netto_z_brutto(get);
}

int przelicz_marze(Get4* get) {
  if (Compact()) ustaw_pozycje_wartosciowa();
  if (GrossEntry()) {
    double vas = Get("VAS");
    Set("WAV", ZerujMinusowe(Round2((Get("WAB") - Get("ZFM")) * vas / (vas + 100))));
  }
  Set("WNE", Get("WAB") - (Get("ZFM") + Get("WAV")));
  return Shown(get, 0);
}

void ustaw_pozycje_wartosciowa() {
  Set("ILO", 1);
  Set("CNB", Get("WNE"));
  Set("CBB", Get("WAB"));
  Set("RAS", 0);
  Set("CNR", Get("WNE"));
  Set("CBR", Get("WAB"));
}

void ustaw_korekte_wartosciowa() {
  Set("KILO", 1);
  Set("KCNB", Get("KWNE"));
  Set("KCBB", Get("KWAB"));
  Set("KRAS", 0);
  Set("KCNR", Get("KWNE"));
  Set("KCBR", Get("KWAB"));
}

int wartosc_netto_skrocona(Get4* get) {
  if (Compact()) ustaw_pozycje_wartosciowa();
  return przelicz_vat_od_netto(get);
}

int wartosc_brutto_skrocona(Get4* get) {
  if (Compact()) ustaw_pozycje_wartosciowa();
  return przelicz_od_brutto(get);
}

int waliduj_ilosc(Get4* get) {
  if (Correction()) {
    TakeCorrectionCopy();
  } else if (Digit(Line("ZRP")) == 1 && !FieldIsEmpty(Line("KOT")) && salesOptions.blockNonPositiveStock == 'T' &&
             Get("ILO") > wartosciPozycji.dostepnaIlosc) {
    Set("ILO", wartosciPozycji.dostepnaIlosc);
    bool changing = CurrentBrowse && CurrentBrowse->modify_mode;
    Uwaga(changing ? MSG_TOO_MANY : MSG_TOO_FEW_IN_STOCK);
  }
  return Shown(get, PriceChain());
}

int waliduj_ilosc_korekty(Get4* get) {
  double a = Get("KILO");
  double unit = Get("ILO") > 0 ? Get("ZFM") / Get("ILO") : 0;
  int result = GrossEntry() ? CorrectionGrossChain() : CorrectionNetChain();
  if (result != 0) return Shown(get, result);
  Set("ILK", Get("KILO") - Get("ILO"));
  if (PurchaseValue()) Set("RE2", a != 0 ? a * unit : 0);
  return Shown(get, 0);
}

int przelicz_korekte_od_ceny_netto(Get4* get) { return Shown(get, CorrectionNetChain()); }
int przelicz_korekte_od_ceny_brutto(Get4* get) { return Shown(get, CorrectionGrossChain()); }

int przelicz_vat_korekty_od_netto(Get4* get) {
  int p = PricePlaces();
  double f = (Get("KVAS") + 100) * 0.01;
  Set("KCBR", ROUND(Get("KCNR") * f, p));
  Set("KCBB", ROUND(f * Get("KCNB"), p));
  Set("KWAV", Round2(Get("KVAS") * Get("KWNE") * 0.01));
  return get ? przelicz_brutto_korekty(get) : 0;
}

int przelicz_brutto_korekty(Get4* get) {
  Set("KWAB", Get("KWNE") + Get("KWAV"));
  Set("KRV", Get("KWAV") - Get("WAV"));
  Set("KRN", Get("KWNE") - Get("WNE"));
  return Shown(get, 0);
}

int przelicz_korekte_od_brutto(Get4* get) {
  int p = PricePlaces();
  double a = Get("KWAB");
  double q = Get("KILO") > 0 ? Get("KILO") : 1;
  double kvas = Get("KVAS");
  double d = kvas / (kvas + 100);
  double f = PurchaseValue() ? Get("RE2") : 0;
  Set("KWAV", Round2((a - f) * d));
  Set("KCNR", ROUND((a - Round2(a * d)) / q, p));
  double m = Round2(q * Get("KCBB"));
  Set("KCNB", ROUND((m - Round2(d * m)) / q, p));
  return get ? netto_korekty_z_brutto(get) : 0;
}

int netto_korekty_z_brutto(Get4* get) {
  double b = Get("KWAB") - (PurchaseValue() ? Get("RE2") : 0);
  double kvas = Get("KVAS");
  Set("KWAV", ZerujMinusowe(Round2(b * kvas / (kvas + 100))));
  Set("KWNE", b - Get("KWAV"));
  Set("KRN", Get("KWNE") - Get("WNE"));
  Set("KRV", Get("KWAV") - Get("WAV"));
  return Shown(get, 0);
}

int korekta_netto_skrocona(Get4* get) {
  if (Compact()) ustaw_korekte_wartosciowa();
  return przelicz_vat_korekty_od_netto(get);
}

int korekta_brutto_skrocona(Get4* get) {
  if (Compact()) ustaw_korekte_wartosciowa();
  return przelicz_korekte_od_brutto(get);
}

int wartosc_zakupu_korekty(Get4* get) {
  if (Compact()) ustaw_korekte_wartosciowa();
  return netto_korekty_z_brutto(get);
}

void opis_formularza_pozycji(char* lines) {
  kontekst_pozycji* c = kontekstPozycji;
  if (!c) return;
  bool compact = c->formularz_skrocony;
  auto put = [&](int row, int col, const char* utf8) {
    std::string text = Utf8ToMazText(utf8);
    std::memcpy(lines + row * LINE_LENGTH + col, text.data(), std::min<size_t>(text.size(), LINE_LENGTH - col));
  };
  const char* entered = c->cena == 2 ? "brutto" : "netto";
  const char* other = c->cena == 2 ? "netto." : "brutto";
  if (compact) {
    put(1, 9, entered);
    put(6, 9, other);
  } else {
    put(11, 6, entered);
    put(14, 9, entered);
    put(19, 9, other);
  }
  if (c->korekta) {
    put(compact ? 0 : 8, 59, "PO KOREKCIE");
    if (compact) {
      put(4, 75, "[%]");
    } else {
      put(12, 68, "[%]");
      put(17, 75, "[%]");
    }
  }
  if (salesOptions.taxation == 2) put(compact ? 7 : 20, 1, "stawka ryczałtu.....");
  if (salesOptions.taxation == 1) put(compact ? 7 : 20, 1, "typ przychodu.......");
  if (salesOptions.useAccounts == 'T') put(compact ? 8 : 21, 1, "numer konta.........");
  if (c->wartosc_zakupu) put(compact ? 2 : 15, 1, "wartość zakupu..");
  if (WorkingYear() >= FIRST_YEAR_WITHOUT_REVERSE_CHARGE) put(compact ? 3 : 16, 1, std::string(28, ' ').c_str());
}
