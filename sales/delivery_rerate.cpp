// Re-rating the lines of a document whose delivery type changed.
#include <cmath>
#include <string>

#include "app/vat_services.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "sales/document_kinds.h"
#include "sales/document_lines.h"
#include "sales/document_totals.h"
#include "sales/register_actions.h"
#include "sales/sales_context.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int OSS = 4;
constexpr int PRICES_NET = 1;

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

}  // namespace

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
