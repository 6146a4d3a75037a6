#include "printouts/account_sums.h"

#include <cstdio>
#include <string>

#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "printouts/vat_register_print.h"
#include "tables/exchange_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"

namespace {

constexpr long NO_ACCOUNT = 99999;
constexpr int TAG_NUMBER = 0, TAG_REC = 1;
const char* const kAmountFields[KONTA_KWOTY] = {"NET", "VAT", "NIV", "BRU"};

DbField* Field(TableHandles& set, const char* name) { return d4field(set.table, name); }

struct AccountPass {
  double totals[KONTA_KWOTY];
  const OpcjeSumKont* options;
  bool any;
};

int AddLine(void* data) {
  auto* pass = static_cast<AccountPass*>(data);
  pass->any = true;
  return sumuj_pozycje_na_koncie(pass->totals, pass->options);
}

int AppendCopy(const std::string& name, const std::string& number, const double* amounts) {
  DbTable* table = Z5KONTES.table;
  if (d4append_start(table, 0) != 0) return -1;
  d4blank(table);
  f4assign(Field(Z5KONTES, "NAZ"), name.c_str());
  f4assign(Field(Z5KONTES, "NUM"), number.c_str());
  for (int i = 0; i < KONTA_KWOTY; i++) f4assign_double(Field(Z5KONTES, kAmountFields[i]), amounts[i]);
  return d4append(table) == 0 ? 0 : -1;
}

// Closes a group of the first `length` characters of `last`.
int CloseGroup(double* sums, const std::string& last, size_t length) {
  std::string number = last.substr(0, length) + std::string(8 - length, '*');
  int result = AppendCopy(std::string(34, '*'), number, sums);
  for (int i = 0; i < KONTA_KWOTY; i++) sums[i] = 0;
  return result;
}

}  // namespace

int dopisz_konto_sumy(long rec) {
  DbTable* table = Z5KONTE.table;
  if (d4append_start(table, 0) != 0) return -1;
  d4blank(table);
  if (rec != NO_ACCOUNT) {
    f4assign_field(Field(Z5KONTE, "NAZ"), Field(Z5KONT, "NAZ"));
    f4assign_field(Field(Z5KONTE, "NUM"), Field(Z5KONT, "NUM"));
  }
  f4assign_long(Field(Z5KONTE, "REC"), rec);
  return d4append(table) == 0 ? 0 : -1;
}

int dodaj_pozycje_do_konta(double net, double vat, double gross) {
  FldAddDouble(Field(Z5KONTE, "NET"), net);
  FldAddDouble(Field(Z5KONTE, "VAT"), vat);
  FldAddDouble(Field(Z5KONTE, "NIV"), net + vat);
  FldAddDouble(Field(Z5KONTE, "BRU"), gross);
  return d4write(Z5KONTE.table, d4recno(Z5KONTE.table)) == 0 ? 0 : -1;
}

int sumuj_pozycje_na_koncie(double* totals, const OpcjeSumKont* options) {
  DbTable* lines = Z5SPRE.table;
  int kind = f4int(d4field(lines, "TYV"));
  // pro forma lines are no sales unless the register shows them
  if (kind == 6 && !options->pro_forma) return 0;
  long rec = f4long(d4field(lines, "KON"));
  if (rec == 0) rec = NO_ACCOUNT;
  char key[24];
  std::snprintf(key, sizeof key, "%5ld", rec);
  int found = d4seek(Z5KONTE.table, key);
  if (found < 0) return -1;
  if (found != 0 && dopisz_konto_sumy(rec) != 0) return -1;
  double f = options->kurs != nullptr ? options->kurs() : 1.0;
  auto R = [f, lines](const char* name) { return ROUND(f4double(d4field(lines, name)) * f, 2); };
  double net, vat, gross;
  if (kind == 3 || kind == 4) {
    net = R("KRN");
    vat = R("KRV");
    gross = net + vat;
  } else {
    net = R("WNE");
    vat = R("WAV");
    gross = R("WAB");
  }
  totals[0] += net;
  totals[1] += vat;
  totals[2] += net + vat;
  totals[3] += gross;
  return dodaj_pozycje_do_konta(net, vat, gross);
}

int dopisz_sume_kont(const double* totals) {
  DbTable* table = Z5KONTE.table;
  if (d4append_start(table, 0) != 0) return -1;
  d4blank(table);
  f4assign(Field(Z5KONTE, "NAZ"), std::string(34, '*').c_str());
  f4assign(Field(Z5KONTE, "NUM"), "********");
  for (int i = 0; i < KONTA_KWOTY; i++) f4assign_double(Field(Z5KONTE, kAmountFields[i]), totals[i]);
  return d4append(table) == 0 ? 0 : -1;
}

int sumuj_konta_rejestru(const ZrodloRejestruVat* source, const OpcjeSumKont* options) {
  d4tag_select(Z5KONTE.table, Z5KONTE.tag[TAG_REC]);
  AccountPass pass{{}, options, false};
  if (przejdz_pozycje_rejestru(source, AddLine, &pass) != 0) return -1;
  return pass.any ? dopisz_sume_kont(pass.totals) : 0;
}

int przepisz_konta_z_grupami(int grouping) {
  DbTable* table = Z5KONTE.table;
  d4tag_select(table, Z5KONTE.tag[TAG_NUMBER]);
  double group1[KONTA_KWOTY] = {}, group2[KONTA_KWOTY] = {};
  bool by3 = grouping == 2 || grouping == 3, by1 = grouping == 1 || grouping == 3;
  std::string last;   // the last account row's number; empty while no group is open
  auto close = [&](const std::string& number) {
    bool grouped = !last.empty();
    if (grouped && by3 && number.compare(0, 3, last, 0, 3) != 0 && CloseGroup(group2, last, 3) != 0) return -1;
    if (grouped && by1 && number[0] != last[0] && CloseGroup(group1, last, 1) != 0) return -1;
    return 0;
  };
  int r = d4top(table);
  for (; r == 0 && !d4eof(table); r = d4skip(table, 1)) {
    std::string number(f4ptr(Field(Z5KONTE, "NUM")), 8);
    // The no-account and totals rows belong to no group.
    bool account = number.find_first_not_of(' ') != std::string::npos && number != std::string(8, '*');
    if (close(account ? number : std::string(8, '\0')) != 0) return -1;
    double amounts[KONTA_KWOTY];
    for (int i = 0; i < KONTA_KWOTY; i++) amounts[i] = f4double(Field(Z5KONTE, kAmountFields[i]));
    std::string name(f4ptr(Field(Z5KONTE, "NAZ")), f4len(Field(Z5KONTE, "NAZ")));
    if (AppendCopy(name, number, amounts) != 0) return -1;
    last = account ? number : std::string();
    if (!account) continue;
    for (int i = 0; i < KONTA_KWOTY; i++) {
      group1[i] += amounts[i];
      group2[i] += amounts[i];
    }
  }
  if (r < 0) return -1;
  return close(std::string(8, '\0'));
}
