// The document filters of the sales register and the line filters of the
// VAT register on seeded headers and lines: the own tests of the items, the
// kind group and the refusals of mixing pro forma with the other kinds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "db/db_scan.h"
#include "sales/register_filters.h"
#include "sales/vat_register.h"
#include "tests/sales/sales_fixture.h"

namespace {

class RegisterFiltersTest : public SalesTest {
 protected:
  void TearDown() override {
    FreeFilters(&context.filtry);
    SalesTest::TearDown();
  }
  FilterItem* Item(FilterSet* set, const char* label) {
    std::string wanted = Utf8ToMazText(label);
    for (int i = 0; i < set->count; i++)
      if (set->items[i].label && wanted == set->items[i].label) return &set->items[i];
    ADD_FAILURE() << "no item " << label;
    return nullptr;
  }
  // Switches the item on with a text value (blank-padded) or a choice.
  void On(FilterItem* item, const char* text = nullptr, int choice = 0) {
    ASSERT_NE(item, nullptr);
    item->active = 1;
    if (text) {
      std::memset(item->text, ' ', static_cast<size_t>(item->length));
      std::memcpy(item->text, text, std::strlen(text));
    }
    if (choice) item->code = '0' + choice;
    context.filtry.off = 0;
  }
  // The NA1 of the headers the filters let through, in record order.
  std::string Passing() {
    std::string names;
    for (int r = d4top(Z5SPRZ.table); r == 0; r = d4skip(Z5SPRZ.table, 1))
      if (FilterFunctionEx(&context.filtry, nullptr) == X4_ACCEPT) names += FieldText(Z5SPRZ.table, "NA1") + " ";
    return names;
  }
  void Clear() {
    for (int i = 0; i < context.filtry.count; i++) context.filtry.items[i].active = 0;
  }
};

TEST_F(RegisterFiltersTest, NipPatternTakesWildcards) {
  for (auto [name, nip] : {std::pair{"a", "5210000001"}, {"b", "5810000002"}, {"c", "5220000003"},
                           {"d", "6210000004"}, {"e", "52"}})
    Header({{"TYV", "1"}, {"NA1", name}, {"NIP", nip}});
  definiuj_filtry_rejestru_2024(1);
  FilterItem* nip = Item(&context.filtry, "NIP kontrahenta...[*]");
  struct Case {
    const char* pattern;
    const char* passing;
  } cases[] = {{"52*", "a c e "}, {"5?1*", "a b "}, {"52", "e "}, {"6*", "d "}};
  for (const Case& c : cases) {
    On(nip, c.pattern);
    EXPECT_EQ(Passing(), c.passing) << c.pattern;
  }
}

TEST_F(RegisterFiltersTest, DeliveryCountryAndPartPayment) {
  Header({{"TYV", "1"}, {"NA1", "blank"}, {"STM", " "}, {"KRA", ""}, {"BRU", "100"}, {"KZA", "100"}});
  Header({{"TYV", "1"}, {"NA1", "domestic"}, {"STM", "1"}, {"KRA", "POLSKA"}, {"BRU", "100"}, {"KZA", "0"}});
  Header({{"TYV", "1"}, {"NA1", "eu"}, {"STM", "2"}, {"KRA", "NIEMCY"}, {"BRU", "100"}, {"KZA", "30"}});
  Header({{"TYV", "3"}, {"NA1", "correction"}, {"STM", "4"}, {"KRA", "NIEMCY"}, {"KRN", "-80"}, {"KRV", "-20"},
          {"KZA", "-40"}});
  Header({{"TYV", "3"}, {"NA1", "settled"}, {"STM", "1"}, {"KRN", "-80"}, {"KRV", "-20"}, {"KZA", "-100"}});
  definiuj_filtry_rejestru(1);
  On(Item(&context.filtry, "typ dostawy.........."), nullptr, 1);
  EXPECT_EQ(Passing(), "blank domestic settled ");
  Clear();
  On(Item(&context.filtry, "typ dostawy.........."), nullptr, 4);
  EXPECT_EQ(Passing(), "correction ");
  Clear();
  On(Item(&context.filtry, "kraj................."), "POLSKA");
  EXPECT_EQ(Passing(), "blank domestic settled ");
  Clear();
  On(Item(&context.filtry, "zapłacone częściowo.."));
  EXPECT_EQ(Passing(), "eu correction ");
}

TEST_F(RegisterFiltersTest, KindGroupTakesAnyOfItsItemsAndDocumentKindTakesBlank) {
  Header({{"TYV", "1"}, {"NA1", "fv"}, {"SDR", " "}});
  Header({{"TYV", "2"}, {"NA1", "ru"}, {"SDR", "2"}});
  Header({{"TYV", "3"}, {"NA1", "fk"}, {"SDR", "1"}});
  Header({{"TYV", "6"}, {"NA1", "pf"}, {"SDR", "1"}});
  definiuj_filtry_rejestru_2024(1);
  On(Item(&context.filtry, "faktura ............."));
  On(Item(&context.filtry, "rachunek............."));
  EXPECT_EQ(Passing(), "fv ru ");
  Clear();
  On(Item(&context.filtry, "rodzaj dokumentu....."), nullptr, 1);
  EXPECT_EQ(Passing(), "fv fk pf ");
}

TEST_F(RegisterFiltersTest, GoodsMarksByPositionAndNone) {
  salesOptions.procedureMarks = 'T';
  Header({{"TYV", "1"}, {"NA1", "gtu1"}, {"NKK", "TNNNNNNNNNNNN"}});
  Header({{"TYV", "1"}, {"NA1", "gtu13"}, {"NKK", "NNNNNNNNNNNNT"}});
  Header({{"TYV", "1"}, {"NA1", "none"}, {"NKK", "NNNNNNNNNNNNN"}});
  Header({{"TYV", "1"}, {"NA1", "blank"}, {"NKK", ""}});
  definiuj_filtry_rejestru_2024(1);
  FilterItem* marks = Item(&context.filtry, "oznaczenie tow./usł..");
  struct Case {
    int choice;
    const char* passing;
  } cases[] = {{1, "gtu1 "}, {13, "gtu13 "}, {14, "none blank "}};
  for (const Case& c : cases) {
    On(marks, nullptr, c.choice);
    EXPECT_EQ(Passing(), c.passing) << c.choice;
  }
}

TEST_F(RegisterFiltersTest, ProceduresByPositionAndNone) {
  salesOptions.procedureMarks = 'T';
  Header({{"TYV", "1"}, {"NA1", "wsto"}, {"NKV", "TNNNNNNNNNNNN"}});
  Header({{"TYV", "1"}, {"NA1", "mpp"}, {"NKV", "NNNNNNNNNNNNT"}});
  Header({{"TYV", "1"}, {"NA1", "blank"}, {"NKV", ""}});
  Header({{"TYV", "1"}, {"NA1", "gtuOnly"}, {"NKV", "NNNNNNNNNNNNN"}, {"NKK", "TNNNNNNNNNNNN"}});
  struct Case {
    int year, choice;
    const char* shown;   // the choice's text in the year's list
    const char* passing;
  } cases[] = {{2026, 1, "1. WSTO_EE", "wsto "}, {2021, 1, "1. SW", "wsto "}, {2026, 13, "d. MPP", "mpp "},
               {2026, 14, "e. BRAK", "blank gtuOnly "}};
  for (const Case& c : cases) {
    env->settlementYear = c.year;
    FreeFilters(&context.filtry);
    if (c.year >= 2024)
      definiuj_filtry_rejestru_2024(1);
    else
      definiuj_filtry_rejestru(1);
    FilterItem* procedures = Item(&context.filtry, "procedury............");
    ASSERT_NE(procedures, nullptr);
    EXPECT_EQ(MazToUtf8Text(static_cast<const char* const*>(procedures->list)[c.choice]), c.shown) << c.year;
    On(procedures, nullptr, c.choice);
    EXPECT_EQ(Passing(), c.passing) << c.year << " " << c.choice;
  }
}

TEST_F(RegisterFiltersTest, ProFormaExcludesTheOtherKinds) {
  definiuj_filtry_rejestru(1);
  FilterSet* set = &context.filtry;
  FilterItem* pf = Item(set, "faktura PRO FORMA....");
  FilterItem* ru = Item(set, "rachunek.............");
  FilterItem* fk = Item(set, "korekta faktury......");
  set->window = 1;   // as while the window is open
  auto canSwitch = [set](FilterItem* item) {
    set->editing = item;
    return item->can_edit();
  };
  pf->working_on = 1;
  EXPECT_EQ(canSwitch(ru), 0);
  EXPECT_EQ(canSwitch(fk), 0);
  EXPECT_EQ(Boxes(), "Usuń filtrowanie dokumentów PRO FORMA.|Usuń filtrowanie dokumentów PRO FORMA.");
  EXPECT_EQ(canSwitch(pf), 1);   // switching it off
  pf->working_on = 0;
  ru->working_on = 1;
  EXPECT_EQ(canSwitch(pf), 0);
  EXPECT_EQ(Boxes(), "Usuń filtrowanie pozostałych dokumentów.");
  ru->working_on = 0;
  EXPECT_EQ(canSwitch(pf), 1);
  set->window = 0;
}

TEST_F(RegisterFiltersTest, CurrencyOfAReportAndStatusText) {
  definiuj_filtry_rejestru(1);
  FilterItem* currency = context.filtrWaluty;
  ASSERT_NE(currency, nullptr);
  Line({{"KVA", "4.25"}});
  DbField* rate = d4field(Z5SPRE.table, "KVA");
  EXPECT_EQ(czy_raport_w_walucie(currency), 0);
  EXPECT_DOUBLE_EQ(kurs_raportu(currency, rate), 4.25);
  On(currency, "EUR");
  EXPECT_EQ(czy_raport_w_walucie(currency), 1);
  EXPECT_DOUBLE_EQ(kurs_raportu(currency, rate), 1.0);
  On(currency, "PLN");
  EXPECT_EQ(czy_raport_w_walucie(currency), 0);

  On(Item(&context.filtry, "NIP kontrahenta...[*]"), "52*");
  On(Item(&context.filtry, "zapłacone............"));
  char status[16];
  std::memset(status, 'x', sizeof status);
  opis_stanu_filtrow(&context.filtry, status, sizeof status, 1, 0);
  EXPECT_EQ(MazToUtf8Text(status), " NIP:52* zapł.");
  opis_stanu_filtrow(&context.filtry, status, sizeof status, 0, 0);
  EXPECT_EQ(std::strlen(status), sizeof status - 1);   // cut, never past the buffer
}

// ---- the line filters

class LineFiltersTest : public RegisterFiltersTest {
 protected:
  void SetUp() override {
    RegisterFiltersTest::SetUp();
    if (HasFatalFailure()) return;
    lines = kontekst_ewidencji{};
    lines.rejestr = 1;
    kontekstEwidencji = &lines;
    definiuj_filtry_ewidencji(&lines);
  }
  void TearDown() override {
    FreeFilters(&lines.filtry);
    kontekstEwidencji = nullptr;
    RegisterFiltersTest::TearDown();
  }
  std::string PassingLines() {
    std::string names;
    for (int r = d4top(Z5SPRE.table); r == 0; r = d4skip(Z5SPRE.table, 1))
      if (filtr_ewidencji() == X4_ACCEPT) names += FieldText(Z5SPRE.table, "NA1") + " ";
    return names;
  }
  void LineOn(int item, int choice = 0) {
    lines.elementy[item]->active = 1;
    if (choice) lines.elementy[item]->code = '0' + choice;
    lines.filtry.off = 0;
  }
  kontekst_ewidencji lines{};
};

TEST_F(LineFiltersTest, OssLinesOnlyUnderTheirDeliveryType) {
  Line({{"NA1", "home"}, {"STM", "1"}, {"TYV", "1"}, {"DAV", "20261201"}});
  Line({{"NA1", "oss"}, {"STM", "4"}, {"TYV", "1"}, {"DAV", "20261201"}});
  EXPECT_EQ(PassingLines(), "home oss ");
  LineOn(FE_FV);
  EXPECT_EQ(PassingLines(), "home ");
  LineOn(FE_TYP_DOSTAWY, 4);
  EXPECT_EQ(PassingLines(), "oss ");
}

TEST_F(LineFiltersTest, ItemCodeKeepsToTheChosenCatalogue) {
  Line({{"NA1", "goods"}, {"KOT", "A1"}, {"ZRP", "1"}});
  Line({{"NA1", "service"}, {"KOT", "A1"}, {"ZRP", "2"}});
  Line({{"NA1", "other"}, {"KOT", "B1"}, {"ZRP", "2"}});
  FilterItem* code = lines.elementy[FE_KOD_POZYCJI];
  std::memset(code->text, ' ', static_cast<size_t>(code->length));
  std::memcpy(code->text, "A1", 2);
  LineOn(FE_KOD_POZYCJI);
  lines.elementy[FE_TYP_POZYCJI]->code = '2';
  EXPECT_EQ(PassingLines(), "service ");
}

TEST_F(LineFiltersTest, CodeItemsTakeTheirNumbersAndReverseChargeItsMarks) {
  Line({{"NA1", "a"}, {"VAT", "3"}, {"RYT", "2"}, {"TYP", "1"}, {"RE3", "N"}});
  Line({{"NA1", "b"}, {"VAT", "11"}, {"RYT", "0"}, {"TYP", "3"}, {"RE3", "8"}});
  Line({{"NA1", "c"}, {"VAT", "1"}, {"RYT", "2"}, {"TYP", "2"}, {"RE3", "T"}});
  struct Case {
    int item, choice;
    const char* passing;
  } cases[] = {
      {FE_STAWKA_VAT, 3, "a "},     {FE_STAWKA_VAT, 11, "b "},    {FE_STAWKA_RYCZALT, 2, "a c "},
      {FE_TYP_PRZYCHODU, 3, "b "},  {FE_ODWROTNE, 1, "a "},       {FE_ODWROTNE, 2, "c "},
      {FE_ODWROTNE, 3, "b "},
  };
  for (const Case& c : cases) {
    for (FilterItem* item : lines.elementy)
      if (item) item->active = 0;
    LineOn(c.item, c.choice);
    EXPECT_EQ(PassingLines(), c.passing) << c.item << " " << c.choice;
  }
}

TEST_F(LineFiltersTest, ProFormaExcludesTheInvoices) {
  FilterSet* set = &lines.filtry;
  set->window = 1;
  lines.elementy[FE_PF]->working_on = 1;
  set->editing = lines.elementy[FE_FV];
  EXPECT_EQ(lines.elementy[FE_FV]->can_edit(), 0);
  EXPECT_EQ(Boxes(), "Usuń filtrowanie dokumentów PRO FORMA.");
  set->window = 0;
}

TEST_F(LineFiltersTest, PrintKindShowsItsItems) {
  struct Case {
    int rejestr, year, kind;
    std::vector<int> shown, hidden;
  } cases[] = {
      {1, 2026, 0, {FE_FV, FE_BR, FE_RU, FE_FK, FE_STRUKTURA, FE_WALUTA}, {FE_FZ, FE_PF, FE_ZP, FE_FP, FE_ODWROTNE}},
      {2, 2026, 0, {FE_FZ, FE_PF, FE_RU, FE_ZP, FE_FP}, {FE_FV, FE_BR, FE_STRUKTURA}},
      {2, 2023, 0, {FE_FZ, FE_PF}, {FE_ZP, FE_FP}},
      {1, 2019, 6, {FE_STRUKTURA, FE_TYP_DOSTAWY, FE_ODWROTNE}, {FE_FV, FE_RU, FE_FK, FE_PF, FE_FM}},
  };
  for (const Case& c : cases) {
    lines.rejestr = c.rejestr;
    env->settlementYear = c.year;
    pokaz_filtry_wydruku(&lines, c.kind);
    for (int item : c.shown) EXPECT_FALSE(lines.elementy[item]->flags & FILTER_HIDDEN) << c.year << " " << item;
    for (int item : c.hidden) EXPECT_TRUE(lines.elementy[item]->flags & FILTER_HIDDEN) << c.year << " " << item;
  }
}

}  // namespace
