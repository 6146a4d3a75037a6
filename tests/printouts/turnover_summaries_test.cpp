// The goods, services and contractor turnovers over seeded lines and headers.
#include <string>

#include "db/db_index.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "app/document_seeks.h"
#include "printouts/turnover_summaries.h"
#include "tables/masterdata_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

class TurnoverTest : public SalesTest {
 protected:
  void TearDown() override {
    for (TableHandles* t : {&TowaTmp, &UslugaTmp})
      if (t->table) {
        d4close(t->table);
        t->table = nullptr;
      }
    RemoveTowaTmp();
    RemoveUslugaTmp();
    SalesTest::TearDown();
  }
  void SaleLine(int kind, const char* code, int origin, Fields amounts) {
    Line({{"TYV", std::to_string(kind)}, {"KOT", code}, {"ZRP", std::to_string(origin)}, {"KVA", "1"}});
    SetFields(Z5SPRE.table, amounts);
    ASSERT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
  }
  void SeedLines() {
    SaleLine(1, "A", 1, {{"ILO", "2"}, {"WNE", "20"}, {"WAB", "24.6"}});
    SaleLine(3, "A", 1, {{"ILK", "-1"}, {"KRN", "-10"}, {"KRV", "-2.3"}});
    SaleLine(6, "A", 1, {{"ILO", "5"}, {"WNE", "50"}, {"WAB", "61.5"}});
    SaleLine(9, "A", 1, {{"ILO", "7"}, {"WNE", "70"}, {"WAB", "86.1"}});
    SaleLine(1, "A", 0, {{"ILO", "3"}, {"WNE", "30"}, {"WAB", "36.9"}});
    SaleLine(1, "ZZ", 1, {{"ILO", "1"}, {"WNE", "1"}, {"WAB", "1.23"}});
    SaleLine(1, "S1", 2, {{"ILO", "1"}, {"WNE", "100"}, {"WAB", "123"}});
    SaleLine(4, "S1", 2, {{"ILK", "0"}, {"KRN", "-20"}, {"KRV", "0"}});
    SaleLine(1, "S9", 2, {{"ILO", "1"}, {"WNE", "5"}, {"WAB", "5"}});
  }
  static double Sum(TableHandles& t, const char* code, const char* field) {
    std::string key(code);
    key.resize(18, ' ');
    d4tag_select(t.table, t.tag[0]);
    if (d4seek_n(t.table, key.c_str(), 18) != 0) return -999;
    return f4double(d4field(t.table, field));
  }
  DbScanCtx scan{};
};

TEST_F(TurnoverTest, GoodsAndServicesAddTheirLinesByKind) {
  SeedLines();
  ASSERT_EQ(NameTowaTmp(), 0);
  ASSERT_EQ(CreateTowaTmp(), 0);
  ASSERT_EQ(NameUslugaTmp(), 0);
  ASSERT_EQ(CreateUslugaTmp(), 0);
  AppendRecord(TowaTmp.table, {{"KOD", "A"}, {"NA1", "Towar A"}});
  AppendRecord(UslugaTmp.table, {{"KOD", "S1"}, {"NA1", "Usługa 1"}});
  x4init(&scan, Z5SPRE.table, nullptr, 0);
  struct Case {
    int proForma;
    double quantity, net, gross;
  };
  // a correction adds ILK and KRN, gross KRN + KRV; a pro forma only with
  // its filter item; kind 9 and a line without a catalogue never
  for (Case c : {Case{0, 1, 10, 12.3}, Case{1, 6, 60, 73.8}}) {
    for (const char* field : {"ILO", "WSN", "WSB"}) f4assign_double(d4field(TowaTmp.table, field), 0);
    ASSERT_EQ(d4write(TowaTmp.table, 1), 0);
    ASSERT_EQ(sumuj_towary(&scan, 0, c.proForma), 0);
    EXPECT_DOUBLE_EQ(Sum(TowaTmp, "A", "ILO"), c.quantity) << c.proForma;
    EXPECT_DOUBLE_EQ(Sum(TowaTmp, "A", "WSN"), c.net) << c.proForma;
    EXPECT_DOUBLE_EQ(Sum(TowaTmp, "A", "WSB"), c.gross) << c.proForma;
    // a missing goods code is shown, each time
    EXPECT_EQ(Boxes(), "Brak towaru w spisie !\nZZ") << c.proForma;
  }
  ASSERT_EQ(sumuj_uslugi(&scan, 0, 0), 0);
  EXPECT_DOUBLE_EQ(Sum(UslugaTmp, "S1", "ILO"), 1);
  EXPECT_DOUBLE_EQ(Sum(UslugaTmp, "S1", "CSN"), 80);
  EXPECT_DOUBLE_EQ(Sum(UslugaTmp, "S1", "CSB"), 103);
  // a missing service is skipped without a message
  EXPECT_EQ(Boxes(), "");
}

TEST_F(TurnoverTest, ContractorsAddTheirDocumentsAndStartFromZero) {
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  AppendRecord(Z5KHNT.table, {{"KOD", "K1"}, {"NA1", "Pierwszy"}, {"TYP", "2"}, {"NET", "999"}});
  AppendRecord(Z5KHNT.table, {{"KOD", "K2"}, {"NA1", "Drugi"}, {"TYP", "2"}});
  auto header = [&](int kind, const char* code, Fields amounts) {
    Header({{"TYV", std::to_string(kind)}, {"KNA", code}, {"KVA", "4"}, {"KKS", "2"}});
    SetFields(Z5SPRZ.table, amounts);
    ASSERT_EQ(d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)), 0);
  };
  header(1, "K1", {{"NET", "100"}, {"VAT", "23"}, {"BRU", "123"}});
  header(3, "K1", {{"KRN", "-10"}, {"KRV", "-2.3"}});
  header(9, "K2", {{"NET", "50"}, {"VAT", "11.5"}, {"BRU", "61.5"}});
  header(10, "K2", {{"NET", "40"}, {"VAT", "9.2"}, {"BRU", "49.2"}});
  header(1, "", {{"NET", "7"}, {"VAT", "0"}, {"BRU", "7"}});
  header(1, "K9", {{"NET", "8"}, {"VAT", "0"}, {"BRU", "8"}});
  x4init(&scan, Z5SPRZ.table, nullptr, 0);
  ASSERT_EQ(zeruj_obroty_kontrahentow(), 0);
  // in the documents' own currency, then by the bookkeeping rate
  for (int mode : {2, 1}) {
    ASSERT_EQ(zeruj_obroty_kontrahentow(), 0);
    ASSERT_EQ(sumuj_obroty_kontrahentow(&scan, mode), 0);
    double factor = mode == 2 ? 1 : 2;
    ASSERT_EQ(SeekKontrahentByKod("K1"), 0);
    EXPECT_DOUBLE_EQ(f4double(d4field(Z5KHNT.table, "NET")), 90 * factor) << mode;
    EXPECT_DOUBLE_EQ(f4double(d4field(Z5KHNT.table, "VAT")), 20.7 * factor) << mode;
    EXPECT_DOUBLE_EQ(f4double(d4field(Z5KHNT.table, "BRU")), 110.7 * factor) << mode;
    ASSERT_EQ(SeekKontrahentByKod("K2"), 0);
    EXPECT_DOUBLE_EQ(f4double(d4field(Z5KHNT.table, "NET")), 50 * factor) << mode;
    EXPECT_DOUBLE_EQ(f4double(d4field(Z5KHNT.table, "BRU")), 61.5 * factor) << mode;
    // a blank code is skipped quietly, a missing one is shown
    EXPECT_EQ(Boxes(), "Brak kontrahenta w kartotece !\nK9") << mode;
  }
}

}  // namespace
