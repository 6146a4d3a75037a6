// The goods catalogue: its choice lists by working year, new goods from the
// browse and from a document, the keys of the list, the clipboard, the
// selling-price window.
#include <gtest/gtest.h>

#include "app/module_entries.h"
#include "masterdata/goods_catalogue.h"
#include "masterdata/catalogue_lists.h"
#include "masterdata/goods_form.h"
#include "tests/app/screen_shots.h"
#include "tests/masterdata/goods_fixture.h"
#include "ui/keyboard.h"

namespace {

class GoodsCatalogueTest : public GoodsScreenTest {
 protected:
  // Runs the catalogue with the keys (F9 takes a screen); its result.
  int Run(const std::string& keys) {
    Keys(keys);
    int result = -99;
    try {
      result = kartoteka_towarow();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << "the catalogue did not end:\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return result;
  }
  bool Shown(const std::string& text) const { return seen.find(text) != std::string::npos; }
  static int Count(const char* const* list) {
    int n = 0;
    while (list[n + 1]) n++;
    return n;
  }
};

TEST_F(GoodsCatalogueTest, ChoiceListsOfTheWorkingYear) {
  struct Case {
    int year;
    int rates;
    bool newCode;
    const char* first;
  } cases[] = {
      {2015, 6, false, "1. USŁUGA"}, {2016, 7, false, "1. 8.5 %"}, {2020, 7, false, "1. 8.5 %"},
      {2021, 8, false, "1. 8.5 %"},  {2022, 9, true, "1.   3,0"},  {2026, 9, true, "1.   3,0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Count(ListaStawekRyczaltu(c.year)), c.rates) << c.year;
    EXPECT_EQ(MazToUtf8Text(ListaStawekRyczaltu(c.year)[1]), c.first) << c.year;
    env->settlementYear = c.year;
    EXPECT_EQ(GoodsLumpSumField(), c.newCode ? TOWA_RTY : TOWA_RYT) << c.year;
  }
  EXPECT_EQ(MazToUtf8Text(ListaStawekRyczaltu(2021)[8]), "8. 8.5 % najem");
  for (int year : {2021, 2022}) {
    EXPECT_EQ(Count(ListaOznaczenGtu(year)), 14) << year;
    EXPECT_EQ(MazToUtf8Text(ListaOznaczenGtu(year)[14]), "e. BRAK") << year;
  }
  EXPECT_NE(std::string(ListaOznaczenGtu(2021)[1]), ListaOznaczenGtu(2022)[1]);
  EXPECT_EQ(GtuItemOfCode(0), 14);
  EXPECT_EQ(GtuItemOfCode(13), 13);
  EXPECT_EQ(GtuCodeOfItem(14), 0);
  EXPECT_EQ(GtuCodeOfItem(1), 1);
}

TEST_F(GoodsCatalogueTest, NewGoodsFromTheBrowseStartWithStockOne) {
  EXPECT_EQ(Run("{INS}T1{ENTER}Towar pierwszy{F2}T{F9}{ESC}"), 0);
  ASSERT_EQ(d4reccount(Z5TOWA.table), 1);
  EXPECT_EQ(At(1, TOWA_KOD), "T1");
  EXPECT_EQ(At(1, TOWA_NA1), "Towar pierwszy");
  EXPECT_EQ(At(1, TOWA_ILO), "1.0000");
  EXPECT_EQ(At(1, TOWA_VZT), "1");
  EXPECT_EQ(At(1, TOWA_VSS), "23.0");
  EXPECT_EQ(At(1, TOWA_RTY), "1");
  EXPECT_EQ(At(1, TOWA_RYS), "3.0");
  EXPECT_EQ(At(1, TOWA_TRC), "T");
  EXPECT_EQ(At(1, TOWA_STA), "A");
  EXPECT_EQ(At(1, TOWA_RE2), "0.00");   // the option's 14 "e. BRAK" kept as 0
  EXPECT_TRUE(Shown("Towar pierwszy")) << seen;
}
}  // namespace

namespace {

TEST_F(GoodsCatalogueTest, GoodsAddedFromADocumentStartWithStockZero) {
  Keys("{ESC}");
  EXPECT_EQ(dopisz_towar_z_dokumentu("NOWY"), -1);
  EXPECT_EQ(d4reccount(Z5TOWA.table), 0);
  Keys("T{ENTER}Nowy towar{F2}T");
  EXPECT_EQ(dopisz_towar_z_dokumentu("NOWY"), 1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  ASSERT_EQ(d4reccount(Z5TOWA.table), 1);
  EXPECT_EQ(At(1, TOWA_KOD), "NOWY");
  EXPECT_EQ(At(1, TOWA_NA1), "Nowy towar");
  EXPECT_EQ(At(1, TOWA_ILO), "0.0000");
  EXPECT_EQ(At(1, TOWA_BUT), "N");
  EXPECT_EQ(KontekstTowarow, nullptr);
  // a code that exists is refused in the form; leaving it adds nothing
  Keys("T{ENTER}x{ESC}{ESC}");
  seen.clear();
  EXPECT_EQ(dopisz_towar_z_dokumentu("NOWY"), 1);
  EXPECT_EQ(d4reccount(Z5TOWA.table), 1);
  // within a running catalogue its context is current again afterwards
  context = definicja_kartoteki_towarow(1);
  Keys("T{ESC}{ESC}");
  EXPECT_EQ(dopisz_towar_z_dokumentu("INNY"), 1);
  EXPECT_EQ(KontekstTowarow, context);
}

TEST_F(GoodsCatalogueTest, KeysMarkStatusAndClipboard) {
  Goods("A1", "Alfa", 5, {{TOWA_CZN, "2"}, {TOWA_VZT, "1"}, {TOWA_VZS, "23"}});
  // F6 marks, F7 deactivates; Ctrl+Z keeps the record and Ctrl+O in a new
  // record's code field brings it back, to be saved under another code.
  EXPECT_EQ(Run("{F6}{F7}{CTRL+Z}{INS}{CTRL+O}{HOME}B1{F2}T{ESC}"), 0);
  // the check of the new code leaves the record the list stands on as it was
  EXPECT_EQ(At(1, TOWA_KOD), "A1");
  EXPECT_EQ(MazToUtf8Text(At(1, TOWA_ZNA).c_str()), "\xC2\xA5");
  EXPECT_EQ(At(1, TOWA_STA), "N");
  ASSERT_EQ(d4reccount(Z5TOWA.table), 2);
  EXPECT_EQ(At(2, TOWA_KOD), "B1");
  EXPECT_EQ(At(2, TOWA_NA1), "Alfa");
  EXPECT_EQ(At(2, TOWA_ILO), "5.0000");
  EXPECT_EQ(At(2, TOWA_CZN), "2.0000");
  // F6 and F7 again turn them back
  EXPECT_EQ(Run("{F6}{F7}{ESC}"), 0);
  EXPECT_EQ(At(1, TOWA_ZNA), "");
  EXPECT_EQ(At(1, TOWA_STA), "A");
}

TEST_F(GoodsCatalogueTest, MarksOptionOffHidesTheGtuMark) {
  Goods("A1", "Alfa", 1, {{TOWA_RE2, "5"}});
  EXPECT_EQ(Run("{F9}{ESC}"), 0);
  EXPECT_TRUE(Shown("OZ")) << seen;
  EXPECT_TRUE(Shown("[F8]-Oznaczenie")) << seen;
  EXPECT_TRUE(Shown("5. odpady, surowce wtórne, wraki")) << seen;
  salesOptions.procedureMarks = 'N';
  seen.clear();
  EXPECT_EQ(Run("{F8}{F9}{ESC}"), 0);
  EXPECT_FALSE(Shown("OZ")) << seen;
  EXPECT_FALSE(Shown("Oznaczenie")) << seen;
  EXPECT_FALSE(Shown("odpady")) << seen;
}

TEST_F(GoodsCatalogueTest, GtuKeyStoresNoneAsZero) {
  Goods("A1", "Alfa", 1, {{TOWA_RE2, "5"}});
  // the list opens at the stored mark: End reaches "e. BRAK"
  EXPECT_EQ(Run("{F8}{END}{ENTER}{ESC}"), 0);
  EXPECT_EQ(At(1, TOWA_RE2), "0.00");
  EXPECT_EQ(Run("{F8}{HOME}{ENTER}{ESC}"), 0);
  EXPECT_EQ(At(1, TOWA_RE2), "1.00");
}

TEST_F(GoodsCatalogueTest, CashRegisterItemsNeedARegister) {
  Goods("A1", "Alfa", 1);
  EXPECT_EQ(Run("k{ENTER}{F9}{ENTER}{ESC}{ESC}"), 0);
  EXPECT_TRUE(Shown("Niewybrana kasa fiskalna.")) << seen;
}

TEST_F(GoodsCatalogueTest, SellingPricesSetOrLeft) {
  Goods("A1", "Alfa", 2, {{TOWA_TRC, "T"}, {TOWA_VST, "1"}, {TOWA_VSS, "23"}, {TOWA_CSN, "10"}, {TOWA_CSB, "12.3"}});
  ASSERT_EQ(d4go(Z5TOWA.table, 1), 0);
  Keys("20{ENTER}{ESC}");
  EXPECT_EQ(ustal_ceny_sprzedazy(), -1);
  Keys("20{ENTER}{F2}");
  EXPECT_EQ(ustal_ceny_sprzedazy(), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_DOUBLE_EQ(f4double(Z5TOWA.field[TOWA_CSN]), 20);
  EXPECT_DOUBLE_EQ(f4double(Z5TOWA.field[TOWA_CSB]), 24.6);
  EXPECT_DOUBLE_EQ(f4double(Z5TOWA.field[TOWA_WSN]), 40);
}

}  // namespace

namespace {

TEST_F(GoodsCatalogueTest, MarkOptionMarksNewGoodsAndChangedPriceA) {
  warehouseOptions.markChanges = 'T';
  Goods("A1", "Alfa", 1, {{TOWA_TRC, "N"}, {TOWA_VST, "1"}, {TOWA_VSS, "23"}, {TOWA_CSB, "10"}});
  Goods("B1", "Beta", 1, {{TOWA_TRC, "N"}, {TOWA_VST, "1"}, {TOWA_VSS, "23"}, {TOWA_CSB, "10"}});
  // From the code field nineteen fields down to price A gross.
  std::string toGross;
  for (int i = 0; i < 19; i++) toGross += "{DOWN}";
  EXPECT_EQ(Run("{ALT+M}" + toGross + "12.3{ENTER}{F2}T{DOWN}{ALT+M}{DOWN}Beta 2{F2}T{INS}C1{F2}T{ESC}"), 0);
  EXPECT_EQ(MazToUtf8Text(At(1, TOWA_ZNA).c_str()), "\xC2\xA5");
  EXPECT_DOUBLE_EQ(f4double(Z5TOWA.field[TOWA_CSB]), 12.3);
  EXPECT_DOUBLE_EQ(f4double(Z5TOWA.field[TOWA_CSN]), 10);   // 12.3 * 100 / 123
  EXPECT_EQ(At(2, TOWA_NA1), "Beta 2");
  EXPECT_EQ(At(2, TOWA_ZNA), "") << "price A unchanged";
  EXPECT_EQ(At(3, TOWA_KOD), "C1");
  EXPECT_EQ(MazToUtf8Text(At(3, TOWA_ZNA).c_str()), "\xC2\xA5");
}

}  // namespace

namespace {

// The filters of the list, item by item, over seeded goods.
TEST_F(GoodsCatalogueTest, FiltersOfTheList) {
  Goods("A1", "Alfa", 0, {{TOWA_ILM, "1"}, {TOWA_STA, "A"}});
  Goods("B1", "Beta", 5, {{TOWA_ILM, "1"}, {TOWA_STA, "N"}, {TOWA_ZNA, "\x9D"}, {TOWA_RE2, "3"}});
  Goods("C1", "Gamma", -1, {{TOWA_ILM, "0"}, {TOWA_STA, "A"}, {TOWA_RE2, "0"}});
  context = definicja_kartoteki_towarow(1);
  ASSERT_NE(context, nullptr);
  FilterSet& set = context->filtry;
  ASSERT_EQ(set.count, 8);
  struct Case {
    int item;
    int32_t code;   // of the GTU choice
    const char* passing;
  } cases[] = {
      {1, 0, "A1"},     {2, 0, "B1 C1"}, {3, 0, "B1"}, {4, 0, "A1 C1"},
      {5, 0, "A1 C1"},  {6, 0, "B1"},    {7, '3', "B1"}, {7, 'e', "A1 C1"},
  };
  set.off = 0;
  for (const Case& c : cases) {
    for (int i = 0; i < set.count; i++) set.items[i].active = i == c.item;
    set.items[c.item].code = c.code;
    std::string passing;
    for (long record = 1; record <= 3; record++) {
      ASSERT_EQ(d4go(Z5TOWA.table, record), 0);
      if (FilterFunction(reinterpret_cast<intptr_t>(&set)) == X4_ACCEPT)
        passing += (passing.empty() ? "" : " ") + Trim(Z5TOWA.field[TOWA_KOD]);
    }
    EXPECT_EQ(passing, c.passing) << "item " << c.item << " " << c.code;
  }
  // Without the marks option there is no GTU filter.
  salesOptions.procedureMarks = 'N';
  zwolnij_definicje_kartoteki_towarow(context);
  context = definicja_kartoteki_towarow(1);
  EXPECT_EQ(context->filtry.count, 7);
}

}  // namespace

namespace {

// The sales rate chosen in the form through the menu of the working year,
// and the lump-sum rate code stored in the field of the year.
TEST_F(GoodsCatalogueTest, ChoicesOfTheFormByWorkingYear) {
  currentVatRates[VAT_REDUCED_1] = 8;
  struct Case {
    int year;
    const char* lumpSumField;
    const char* lumpSum;
  } cases[] = {{2021, "RYT", "2"}, {2024, "RTY", "2"}};
  // From the code field twelve fields down to the sales rate, from the field
  // after it seventeen to the lump-sum rate; each menu takes its second item.
  std::string toSalesRate, toLumpSum;
  for (int i = 0; i < 12; i++) toSalesRate += "{DOWN}";
  for (int i = 0; i < 17; i++) toLumpSum += "{DOWN}";
  long record = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.year);
    env->settlementYear = c.year;
    record++;
    std::string code = "Y" + std::to_string(c.year);
    EXPECT_EQ(Run("{INS}" + code + toSalesRate + "{ENTER}{DOWN}{ENTER}" + toLumpSum + "{ENTER}{DOWN}{ENTER}{F2}T{ESC}"),
              0);
    ASSERT_EQ(d4reccount(Z5TOWA.table), record);
    EXPECT_EQ(At(record, TOWA_KOD), code);
    EXPECT_EQ(At(record, TOWA_VST), "2");
    EXPECT_EQ(At(record, TOWA_VSS), "8.0");
    EXPECT_EQ(At(record, c.lumpSumField == std::string("RYT") ? TOWA_RYT : TOWA_RTY), c.lumpSum);
  }
}

}  // namespace

namespace {

TEST_F(GoodsCatalogueTest, ExportOfTheListedGoods) {
  Goods("A1", "Alfa", 2, {{TOWA_CSN, "10"}, {TOWA_WSN, "20"}, {TOWA_CSB, "12.3"}, {TOWA_WSB, "24.6"}});
  // " Export ": the filters kept with F2, then all columns by the factory
  // settings (F3 and its question), F2 and the proposed file name.
  EXPECT_EQ(Run("e{F2}{F3}t{F2}{ENTER}{F9}{ESC}"), 0);
  std::string table = ReadFile(firm + "EXSPIS.DBF");
  for (const char* name : {"KOD", "NA1", "CAN", "WAN", "CAB", "WAB", "VSS", "UWA"})
    EXPECT_NE(table.find(name), std::string::npos) << name << "\n" << seen;
  EXPECT_NE(table.find("A1"), std::string::npos);
}

}  // namespace

namespace {

void Grant(Environment* env, int right, bool on) {
  unsigned char bit = static_cast<unsigned char>(0x80 >> (right % 8));
  if (on)
    env->rights[right / 8] |= bit;
  else
    env->rights[right / 8] &= static_cast<unsigned char>(~bit);
}

TEST_F(GoodsCatalogueTest, CatalogueFromADocumentOnlyWithBothRights) {
  Goods("A1", "Alfa", 1);
  struct Case {
    bool warehouse, goods, opened;
  } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
  for (const Case& c : cases) {
    Grant(env, 7000, c.warehouse);
    Grant(env, 7500, c.goods);
    seen.clear();
    Keys(c.opened ? "{F9}{ESC}" : "");
    EXPECT_EQ(kartoteka_towarow_z_dokumentu(), 0);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_EQ(Shown("Spis towarów"), c.opened) << c.warehouse << c.goods;
  }
}

}  // namespace
