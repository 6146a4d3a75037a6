// The delivery type change of a document and the re-rating of its lines.
#include <cmath>
#include <string>

#include "app/document_kinds.h"
#include "app/vat_services.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "masterdata/countries.h"
#include "sales/document_lines.h"
#include "sales/document_totals.h"
#include "sales/register_actions.h"
#include "sales/sales_context.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int OSS = 4;
constexpr int PRICES_NET = 1;
constexpr int WINDOW_ROW = 4, WINDOW_ROWS = 3, WINDOW_COLS = 46, TEXT_COL = 11;
constexpr int MENU_ROW = 8, MENU_COL = 27, SHOW_CHOICE_MS = 2000;
constexpr int FIRST_YEAR_2024 = 2024;
// Row filters of the countries list, asking for the country's name.
constexpr int COUNTRIES_EU = 18, COUNTRIES_EXPORT = 20, COUNTRIES_ANY = 16;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* Line(const char* name) { return d4field(Z5SPRE.table, name); }

std::string Country() {
  std::string country(f4ptr(Header("KRA")), f4len(Header("KRA")));
  country.erase(country.find_last_not_of(' ') + 1);
  return country;
}

// Each value goes through its 2-decimal field before the next one uses it.
void Recompute(double rate) {
  double r = rate / 100;
  if (f4int(Header("TRY")) == PRICES_NET) {
    ToFieldCopyDouble(Line("WNE"), f4double(Line("ILO")) * f4double(Line("CNR")));
    ToFieldCopyDouble(Line("WAV"), r * f4double(Line("WNE")));
    ToFieldCopyDouble(Line("WAB"), f4double(Line("WNE")) + f4double(Line("WAV")));
  } else {
    ToFieldCopyDouble(Line("WAB"), f4double(Line("ILO")) * f4double(Line("CBR")));
    ToFieldCopyDouble(Line("WAV"), f4double(Line("WAB")) * r / (1 + r));
    ToFieldCopyDouble(Line("WNE"), f4double(Line("WAB")) - f4double(Line("WAV")));
  }
}

// The line's VAT code and rate under the new type. A code is an OSS rate
// index only on OSS lines, so moving into or out of OSS re-codes the line.
void Rate(int type, bool countries, int ossRates) {
  int wasOss = f4char(Line("STM")) == '0' + OSS;
  f4assign_char(Line("STM"), static_cast<char>('0' + type));
  if (type != OSS) {
    if (wasOss) f4assign_int(Line("VAT"), domyslny_kod_vat_pozycji());
    ToFieldCopyDouble(Line("VAS"), wartosc_stawki_vat(Line("VAT")));
    return;
  }
  if (!countries) return;
  if (!wasOss) f4assign_int(Line("VAT"), indeks_stawki_oss(f4int(Line("VAT")), ossRates));
  ToFieldCopyDouble(Line("VAS"), stawka_oss(Country().c_str(), f4int(Line("VAT"))));
}

int RateLines(int type, double sums[3]) {
  long rek = static_cast<long>(f4double(Header("REC")));
  if (SeekSalesLinesByRek(rek) < 0) return -1;
  bool countries = type == OSS && OpenZ5KRAJ(0) == 0;
  int ossRates = countries ? liczba_stawek_oss(Country().c_str()) : 0;
  int result = 0;
  while (!d4eof(Z5SPRE.table) && static_cast<long>(f4double(Line("REK"))) == rek) {
    double before = f4double(Line("VAS"));
    Rate(type, countries, ossRates);
    if (f4double(Line("VAS")) != before) Recompute(f4double(Line("VAS")));
    if (d4write(Z5SPRE.table, d4recno(Z5SPRE.table)) != 0) {
      result = -1;
      break;
    }
    sums[0] += f4double(Line("WNE"));
    sums[1] += f4double(Line("WAV"));
    sums[2] += f4double(Line("WAB"));
    d4flush(Z5SPRE.table);
    if (d4skip(Z5SPRE.table, 1) < 0) {
      result = -1;
      break;
    }
  }
  if (countries) d4close(Z5KRAJ.table);
  return result;
}

// The delivery type the operator picks in the window, 0 when none.
int AskType(int current) {
  const char* const* list = DeliveryList(date4year(f4ptr(Header("DAW"))) >= FIRST_YEAR_2024);
  int count = 0;
  while (list[count + 1]) count++;
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(WINDOW_ROW, (80 - WINDOW_COLS) / 2, WINDOW_ROWS, WINDOW_COLS,
                                    "Aktualizacja typu dostawy", nullptr, nullptr);
  if (window < 0) return 0;
  w4activate(window);
  w4(0, 0, "Poprzedni:");
  w4(0, TEXT_COL, current >= 1 && current <= count ? KodAsPopupMenuString(current, list) : "");
  int chosen = get_menu_function("Nowy typ dostawy", list, current >= 1 && current <= count ? current : 1,
                                 MENU_ROW, MENU_COL);
  if (chosen > 0) {
    w4(2, 0, "Nowy:");
    w4(2, TEXT_COL, KodAsPopupMenuString(chosen, DeliveryList(true)));
    WaitFor(1, SHOW_CHOICE_MS);
  }
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return chosen > 0 ? chosen : 0;
}

// The country of a foreign type: asked only when the document has none of
// its own; false when the operator leaves the list.
bool TakeCountry(int type) {
  if (type == 1) {
    f4assign(Header("KRA"), "POLSKA");
    return true;
  }
  std::string country = Country();
  if (!country.empty() && country != "POLSKA") return true;
  int filter = type == 3 ? COUNTRIES_EXPORT : type == 6 || type == 8 ? COUNTRIES_ANY : COUNTRIES_EU;
  char* chosen = nullptr;
  if (wybierz_kraj(filter, &chosen) != 0 || !chosen) return false;
  f4assign(Header("KRA"), chosen);
  return true;
}

}  // namespace

int zmien_typ_dostawy(int, int) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  long record = d4recno(Z5SPRZ.table);
  int type = AskType(f4char(Header("STM")) - '0');
  if (go_and_lock(Z5SPRZ.table, record) != 0) return 0;
  if (type == 0 || !TakeCountry(type)) {
    d4unlock(Z5SPRZ.table);
    return 0;
  }
  f4assign_char(Header("STM"), static_cast<char>('0' + type));
  f4assign_char(Header("TTR"), type == 7 || type == 9 ? 'T' : 'N');
  f4assign_char(Header("ANU"), type == 2 || type == 5 || type == 7 || type == 9 ? 'T' : 'N');
  przelicz_pozycje_dla_typu_dostawy(type);
  write_and_unlock(Z5SPRZ.table);
  browse_call(0, record);
  return 0;
}

int przelicz_pozycje_dla_typu_dostawy(int type) {
  double sums[3] = {};
  int result = RateLines(type, sums);
  if (result != 0) {
    // Some lines carry the new rate, the rest the old: the header must match them all.
    Uwaga(Sys("Nie udało się przeliczyć wszystkich pozycji dokumentu."));
    if (sumuj_pozycje_dokumentu(0, salesContext ? salesContext->rejestr : 1) != 0) return -1;
    sums[0] = sumyDokumentu.document[SUM_NET];
    sums[1] = sumyDokumentu.document[SUM_VAT];
    sums[2] = sumyDokumentu.document[SUM_GROSS];
  }
  ToFieldCopyDouble(Header("NET"), sums[0]);
  ToFieldCopyDouble(Header("VAT"), sums[1]);
  ToFieldCopyDouble(Header("BRU"), sums[2]);
  return result;
}
