// The sales register from receipts: one row per receipt of the filtered
// positions in Z5ESPP with its amounts by VAT-rate code, a totals row, and
// the tabulogram printed from the starting Lp the operator gives.
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/prompts.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "print/tabulogram.h"
#include "retail/position_register.h"
#include "tables/exchange_tables.h"
#include "tables/receipt_tables.h"
#include "tables/wait_notice.h"
#include "ui/message_box.h"

namespace retail {

namespace {

constexpr int MSG_TITLE = 221;   // "Rejestr paragonów. "
constexpr int TAG_DATE = 1;
constexpr int AMOUNTS = 12;
// The amount fields of a row; the net and VAT of a code go to a pair of them.
const char* const FIELDS[AMOUNTS] = {"BRU", "NPO", "VPO", "NP1", "VP1", "NP2", "VP2", "NP3", "VP3", "N0K", "WOL", "MAN"};
enum { BRU, NPO, VPO, NP1, VP1, NP2, VP2, NP3, VP3, N0K, WOL, MAN };

DbField* P(const char* name) { return d4field(Z5PARE.table, name); }
DbField* E(const char* name) { return d4field(Z5ESPP.table, name); }

struct Row {
  long lp = 0;
  std::string number, date;
  double amounts[AMOUNTS] = {};
};

// The position's net, VAT and gross by its code; other codes add only gross.
void AddPosition(double* to) {
  double net = f4double(P("WNE")), vat = f4double(P("WAV"));
  to[BRU] += f4double(P("WAB"));
  switch (f4int(P("VAT"))) {
    case 1: to[NPO] += net, to[VPO] += vat; break;
    case 2: to[NP1] += net, to[VP1] += vat; break;
    case 8: to[NP2] += net, to[VP2] += vat; break;
    case 9: to[NP3] += net, to[VP3] += vat; break;
    case 3: to[N0K] += net; break;
    case 4: to[WOL] += net; break;
    case 14: to[MAN] += net; break;
    default: break;
  }
}

int Append(const std::string& lp, const std::string& number, const std::string& date, const double* amounts) {
  DbTable* table = Z5ESPP.table;
  if (d4append_start(table, 0) != 0) return -1;
  d4blank(table);
  f4assign(E("LPO"), lp.c_str());
  f4assign(E("NUM"), number.c_str());
  f4assign(E("DAS"), date.c_str());
  for (int i = 0; i < AMOUNTS; i++) f4assign_double(E(FIELDS[i]), amounts[i]);
  return d4append(table) == 0 ? 0 : -1;
}

int Finish(const Row& row, long start) {
  if (row.lp < start) return 0;
  std::string lp = std::to_string(row.lp);
  lp.insert(0, lp.size() < 5 ? 5 - lp.size() : 0, ' ');
  return Append(lp, row.number, row.date, row.amounts);
}

}  // namespace

int wiersze_rejestru_paragonow(long start) {
  DbScanCtx scan{};
  x4init(&scan, Z5PARE.table, filtr_ewidencji_paragonow, 0);
  Row row;
  double totals[AMOUNTS] = {};
  long rek = -1, lp = 0;
  bool any = false, written = true;
  for (int r = x4top(&scan); r == 0 && !d4eof(Z5PARE.table); r = x4skip(&scan, 1)) {
    if (f4long(P("REK")) != rek) {
      if (rek != -1 && Finish(row, start) != 0) written = false;
      row = Row{};
      row.lp = ++lp;
      row.number = NrDokumentuFldQStr(P("PRE"), P("NRV"), P("POS"));
      row.date.assign(f4ptr(d4field(Z5PARA.table, "DSP")), 8);
      rek = f4long(P("REK"));
    }
    any = true;
    AddPosition(row.amounts);
    AddPosition(totals);
  }
  if (!any) return 0;
  if (Finish(row, start) != 0) written = false;
  if (Append("*****", std::string(40, '*'), "", totals) != 0) written = false;
  return written ? 0 : -1;
}

namespace {

void Columns(TabuColumn* columns, int size) {
  ResetTabuDefinition(columns, size);
  struct Column {
    const char *heading1, *heading2, *field;
    int group;
  };
  const Column list[] = {
      {"l.p.", "", "LPO", 1},          {"numer", "", "NUM", 1},        {"data sprz", "", "DAS", 2},
      {"wartość", "brutto", "BRU", 3}, {"23,22 [%]", "netto", "NPO", 4}, {"", "VAT", "VPO", 4},
      {" 8,7 [%]", "netto", "NP1", 5}, {"", "VAT", "VP1", 5},          {" 5,3 [%]", "netto", "NP2", 6},
      {"", "VAT", "VP2", 6},           {" 7,6 [%]", "netto", "NP3", 7}, {"", "VAT", "VP3", 8},
      {"0 [%]", "", "N0K", 9},         {"0 [%]", "marża", "MAN", 9},    {"wolna od podat", "", "WOL", 10},
  };
  for (const Column& c : list) {
    DbField* field = E(c.field);
    for (DbField*& bound : Z5ESPP.field)
      if (bound && bound == field) DefineTabuColumn(Sys(c.heading1), Sys(c.heading2), &bound, TABU_CHOSEN, c.group);
  }
}

}  // namespace

int rejestr_z_paragonow() {
  kontekst_ewidencji_paragonow* c = kontekstEwidencjiParagonow;
  long start = numer_lp_wydruku();
  if (start < 0) return 0;
  DbTable* positions = Z5PARE.table;
  if (set_lock(positions, -1) != 0) return -1;
  if (CreateZ5ESPP() != 0) {
    d4unlock(positions);
    return -1;
  }
  int notice = ShowWaitNotice();
  DbTag* tag = d4tag_selected(positions);
  d4tag_select(positions, Z5PARE.tag[TAG_DATE]);
  int built = wiersze_rejestru_paragonow(start);
  d4tag_select(positions, tag);
  HideWaitNotice(notice);
  if (built == 0) {
    static TabuColumn columns[TABU_MAX_ENTRIES];
    Columns(columns, sizeof columns);
    char subtitle[256] = {};
    if (c) opis_filtrow_ewidencji(subtitle, sizeof subtitle);
    DbScanCtx scan{};
    x4init(&scan, Z5ESPP.table, nullptr, 0);
    d4tag_select(Z5ESPP.table, nullptr);
    prn_tab_rap(columns, &scan, Z5ESPP.table, nullptr, MSG_TITLE, subtitle, nullptr, 0);
  } else {
    Uwaga(Sys("Błąd zapisu danych - rejestr nie został wydrukowany."));
  }
  int closed = d4close(Z5ESPP.table) == 0 ? 0 : -1;
  RemoveZ5ESPP();
  d4unlock(positions);
  return built != 0 ? -1 : closed;
}

}  // namespace retail
