#include "printouts/margin_register.h"

#include <cstdio>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "print/tabulogram.h"
#include "printouts/register_source.h"
#include "printouts/vat_register_print.h"
#include "sales/document_totals.h"
#include "sales/vat_register.h"
#include "tables/exchange_tables.h"
#include "tables/sales_tables.h"
#include "tables/wait_notice.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_MAIN_TITLE = 89, MSG_AUX_TITLE = 90;

double LineValue(const char* name) { return f4double(d4field(Z5SPRE.table, name)); }

int AppendMarginRecord(const char* lpo, const std::string& num, const std::string& dav, const double* amounts) {
  DbTable* table = Z5ESMA.table;
  if (d4append_start(table, 0) != 0) return -1;
  d4blank(table);
  f4assign(d4field(table, "LPO"), lpo);
  f4assign(d4field(table, "NUM"), num.c_str());
  f4assign(d4field(table, "DAV"), dav.c_str());
  const char* names[MARZA_KWOTY] = {"BRU", "ZAK", "MAR", "NET", "VAT"};
  for (int i = 0; i < MARZA_KWOTY; i++) f4assign_double(d4field(table, names[i]), amounts[i]);
  return d4append(table) == 0 ? 0 : -1;
}

void AddAmounts(wiersz_rejestru_marzy* row, double gross, double purchase, double net, double vat) {
  for (double* amounts : {row->wiersz, row->suma}) {
    amounts[MARZA_BRU] += gross;
    amounts[MARZA_ZAK] += purchase;
    amounts[MARZA_NET] += net;
    amounts[MARZA_VAT] += vat;
    amounts[MARZA_MAR] = amounts[MARZA_BRU] - amounts[MARZA_ZAK];
  }
}

struct MarginPass {
  wiersz_rejestru_marzy* row;
  const ZrodloRejestruVat* source;
  bool any;
};

int AddLine(void* data) {
  auto* pass = static_cast<MarginPass*>(data);
  pass->any = true;
  return dodaj_pozycje_marzy(pass->row, pass->source);
}

}  // namespace

int dodaj_pozycje_marzy(wiersz_rejestru_marzy* row, const ZrodloRejestruVat* source) {
  DbTable* lines = Z5SPRE.table;
  long rek = d4eof(lines) ? 0 : f4long(d4field(lines, "REK"));
  if (rek != 0 && f4ptr(d4field(lines, "STM"))[0] == '4') return 0;   // OSS
  if (rek != row->rek) {
    if (row->rek != -1) {
      char lpo[24];
      std::snprintf(lpo, sizeof lpo, "%ld", row->lpo++);
      if (AppendMarginRecord(lpo, row->num, row->dav, row->wiersz) != 0) return -1;
    }
    for (double& amount : row->wiersz) amount = 0;
    row->rek = rek;
    if (rek == 0) return 0;
    std::string re1(f4ptr(d4field(lines, "RE1")), f4len(d4field(lines, "RE1")));
    re1.erase(re1.find_last_not_of(' ') + 1);
    row->num = !re1.empty() ? re1.substr(0, 40)
                            : NrDokumentuFldQStr(d4field(lines, "PRE"), d4field(lines, "NRV"), d4field(lines, "POS"));
    row->dav.assign(f4ptr(d4field(lines, "DAV")), f4len(d4field(lines, "DAV")));
  }
  bool header = ustaw_naglowek_pozycji() == 1;
  double f = czynnik_pozycji(source);
  auto R = [f](const char* name) { return ROUND(LineValue(name) * f, 2); };
  if (header && czy_dokument_marzy())
    AddAmounts(row, R("WAB"), R("ZFM"), R("WNE"), R("WAV"));
  // only a correction of a margin invoice changes the margin register
  if (header && f4int(d4field(lines, "TYV")) == 3 && f4int(d4field(Z5SPRZ.table, "TYM")) == 8)
    AddAmounts(row, R("KWAB") - R("WAB"), R("RE2") - R("ZFM"), R("KWNE") - R("WNE"), R("KWAV") - R("WAV"));
  return 0;
}

int dopisz_sume_marzy(const wiersz_rejestru_marzy* row) {
  return AppendMarginRecord("*****", std::string(40, '*'), std::string(8, '*'), row->suma);
}

int dopisz_dokumenty_marzy(wiersz_rejestru_marzy* row, const ZrodloRejestruVat* source) {
  *row = wiersz_rejestru_marzy{};
  row->lpo = 1;
  row->rek = -1;
  MarginPass pass{row, source, false};
  if (przejdz_pozycje_rejestru(source, AddLine, &pass) != 0) return -1;
  if (!pass.any) return 0;
  if (dodaj_pozycje_marzy(row, source) != 0) return -1;
  return dopisz_sume_marzy(row);
}

int zbuduj_rejestr_marzy(wiersz_rejestru_marzy* row, const ZrodloRejestruVat* source) {
  DbTable* lines = Z5SPRE.table;
  if (d4lock_all(lines) != 0) return REGISTER_NOT_BUILT;
  if (CreateZ5ESMA() != 0) {
    d4unlock(lines);
    return REGISTER_NOT_BUILT;
  }
  int result = dopisz_dokumenty_marzy(row, source);
  d4unlock(lines);
  return result;
}

void kolumny_rejestru_marzy(TabuColumn* columns, int size) {
  ResetTabuDefinition(columns, size);
  struct Column {
    const char *heading, *field;
  } list[] = {{"l.p.", "LPO"},         {"nr dokumentu", "NUM"}, {"sprzedaż", "BRU"}, {"zakup", "ZAK"},
              {"marża brutto", "MAR"}, {"netto", "NET"},        {"VAT", "VAT"},      {"data VAT", "DAV"}};
  int block = 1;
  for (const Column& c : list) {
    DbField* field = d4field(Z5ESMA.table, c.field);
    for (DbField*& bound : Z5ESMA.field)
      if (bound == field) DefineTabuColumn(Sys(c.heading), "", &bound, TABU_CHOSEN, block++);
  }
}

int drukuj_tabele_marzy(int rejestr) {
  kontekst_ewidencji* c = kontekstEwidencji;
  std::string subtitle = c ? FilterStatusText(c, 1) : std::string();
  static TabuColumn columns[TABU_MAX_ENTRIES];
  kolumny_rejestru_marzy(columns, sizeof columns);
  DbScanCtx scan{};
  x4init(&scan, Z5ESMA.table, nullptr, 0);
  d4tag_select(Z5ESMA.table, nullptr);
  return prn_tab_rap(columns, &scan, Z5ESMA.table, nullptr, rejestr == 1 ? MSG_MAIN_TITLE : MSG_AUX_TITLE,
                     subtitle.c_str(), nullptr, 0);
}

int drukuj_rejestr_marzy() {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c) return -1;
  ZrodloRejestruVat source = RegisterSource(c);
  int window = w4select(-1);
  int notice = ShowWaitNotice();
  wiersz_rejestru_marzy row{};
  int built = zbuduj_rejestr_marzy(&row, &source);
  HideWaitNotice(notice);
  if (built == REGISTER_NOT_BUILT) {
    w4select(window);
    return -1;
  }
  if (built == 0)
    drukuj_tabele_marzy(source.rejestr);
  else
    Uwaga(Sys("Błąd zapisu danych - rejestr nie został wydrukowany."));
  w4select(window);
  int result = d4close(Z5ESMA.table) == 0 ? 0 : -1;
  RemoveZ5ESMA();
  return result;
}
