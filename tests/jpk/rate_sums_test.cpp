// The JPK sums of a document's lines: which documents count, conversion,
// corrections, the placement before and from 2024, the OSS lines and the
// warning of a rate unfit for its supply type.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "jpk/rate_sums.h"
#include "tests/sales/sales_fixture.h"

namespace {

using Values = std::vector<std::pair<const char*, std::string>>;

enum Adder { MAIN_BEFORE, MAIN_BEFORE_CURRENCY, MAIN_2024, AUX_BEFORE, AUX_2024 };

struct Case {
  const char* name;
  Adder adder;
  Values header, line;
  std::map<std::string, double> sums;   // any sum not named stays 0
  const char* box;                      // the warning's text, "" for none
};

void Set(DbTable* table, const Values& values) {
  for (const auto& [name, value] : values) {
    DbField* field = d4field(table, name);
    ASSERT_NE(field, nullptr) << name;
    if (f4type(field) == 'N')
      f4assign_double(field, std::stod(value));
    else
      f4assign(field, Utf8ToMazText(value.c_str()).c_str());
  }
}

std::map<std::string, double> Sums(const kontekst_jpk& c) {
  return {{"NET", c.suma_net}, {"BRU", c.suma_bru}, {"K10", c.suma_k10}, {"K11", c.suma_k11},
          {"K12", c.suma_k12}, {"K13", c.suma_k13}, {"K14", c.suma_k14}, {"K15", c.suma_k15},
          {"K16", c.suma_k16}, {"K17", c.suma_k17}, {"K18", c.suma_k18}, {"K19", c.suma_k19},
          {"K20", c.suma_k20}, {"K21", c.suma_k21}, {"K22", c.suma_k22}, {"K31", c.suma_k31},
          {"RN1", c.suma_rn1}, {"RN2", c.suma_rn2}, {"kurs", c.kurs}, {"OSS", c.oss_suma},
          {"OSS net 1", c.oss_netto[0]}, {"OSS VAT 1", c.oss_vat[0]}};
}

const Values kLine = {{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"KVA", "1"}, {"STM", "1"}};

Values With(Values base, const Values& more) {
  for (const auto& m : more) base.push_back(m);
  return base;
}

const Case kCases[] = {
    {"invoice basic rate 2024", MAIN_2024, {}, kLine,
     {{"NET", 100}, {"BRU", 123}, {"K19", 100}, {"K20", 23}, {"kurs", 1}}, ""},
    {"FP main register 2024 adds only NET and BRU", MAIN_2024, {}, With(kLine, {{"TYV", "9"}}),
     {{"NET", 100}, {"BRU", 123}, {"kurs", 1}}, ""},
    {"FP main register before 2024 adds only NET and BRU", MAIN_BEFORE, {}, With(kLine, {{"TYV", "9"}}),
     {{"NET", 100}, {"BRU", 123}, {"kurs", 1}}, ""},
    {"code 1 intra-EU before 2024 warns", MAIN_BEFORE, {}, With(kLine, {{"STM", "2"}}),
     {{"NET", 100}, {"BRU", 123}, {"K19", 100}, {"K20", 23}, {"kurs", 1}},
     "Stawka VAT nieodpowiednia dla typu dostawy !\nStawka VAT  PODSTAWOWA           typ dostawy  "
     "WEWNĄTRZWSPÓLNOTOWA\nNr dokumentu: FV/1"},
    {"code 5 from 2024 adds to no rate sum", MAIN_2024, {}, With(kLine, {{"VAT", "5"}, {"WAV", "0"}, {"WAB", "100"}}),
     {{"NET", 100}, {"BRU", 100}, {"kurs", 1}}, ""},
    {"code 13 from 2024 adds to no rate sum", MAIN_2024, {}, With(kLine, {{"VAT", "13"}, {"WAV", "0"}, {"WAB", "100"}}),
     {{"NET", 100}, {"BRU", 100}, {"kurs", 1}}, ""},
    {"code 13 domestic before 2024 is a refund", MAIN_BEFORE, {}, With(kLine, {{"VAT", "13"}, {"WAV", "0"}, {"WAB", "100"}}),
     {{"NET", 100}, {"BRU", 100}, {"K13", 100}, {"K14", 100}, {"kurs", 1}}, ""},
    {"correction from code 1 to 2", MAIN_2024, {{"TYV", "3"}},
     With(kLine, {{"TYV", "3"}, {"VAT", "2"}, {"WAV", "8"}, {"KVAT", "1"}, {"KWNE", "100"}, {"KWAV", "23"},
                  {"KRN", "0"}, {"KRV", "-15"}}),
     {{"NET", 0}, {"BRU", -15}, {"K19", 100}, {"K20", 23}, {"K17", -100}, {"K18", -8}, {"kurs", 1}}, ""},
    {"correction of an unchanged code", MAIN_2024, {{"TYV", "3"}},
     With(kLine, {{"TYV", "3"}, {"KVAT", "0"}, {"KRN", "-10"}, {"KRV", "-2.3"}}),
     {{"NET", -10}, {"BRU", -12.3}, {"K19", -10}, {"K20", -2.3}, {"kurs", 1}}, ""},
    {"EUR unconverted under the currency flag", MAIN_BEFORE_CURRENCY, {}, With(kLine, {{"KVA", "4.3"}}),
     {{"NET", 100}, {"BRU", 123}, {"K19", 100}, {"K20", 23}, {"kurs", 4.3}}, ""},
    {"EUR converted without the flag", MAIN_BEFORE, {}, With(kLine, {{"KVA", "4.3"}}),
     {{"NET", 430}, {"BRU", 528.9}, {"K19", 430}, {"K20", 98.9}, {"kurs", 4.3}}, ""},
    {"EUR converted from 2024", MAIN_2024, {}, With(kLine, {{"KVA", "4.3"}}),
     {{"NET", 430}, {"BRU", 528.9}, {"K19", 430}, {"K20", 98.9}, {"kurs", 4.3}}, ""},
    {"KVA 0 converts at 1", MAIN_BEFORE, {}, With(kLine, {{"KVA", "0"}}),
     {{"NET", 100}, {"BRU", 123}, {"K19", 100}, {"K20", 23}, {"kurs", 1}}, ""},
    {"OSS code 5 moves only the OSS total", MAIN_2024, {}, With(kLine, {{"STM", "4"}, {"VAT", "5"}, {"WAV", "20"}}),
     {{"OSS", 120}, {"kurs", 1}}, ""},
    {"OSS code 1 fills its pair unconverted", MAIN_2024, {},
     With(kLine, {{"STM", "4"}, {"VAT", "1"}, {"WAV", "20"}, {"KVA", "4.3"}}),
     {{"OSS", 120}, {"OSS net 1", 100}, {"OSS VAT 1", 20}, {"kurs", 4.3}}, ""},
    {"reverse charge before 2024", MAIN_BEFORE, {}, With(kLine, {{"VAT", "6"}, {"WAV", "0"}, {"WAB", "100"}, {"RE3", "T"}}),
     {{"NET", 100}, {"BRU", 100}, {"K31", 100}, {"kurs", 1}}, ""},
    {"BR line without a rate places nothing", MAIN_BEFORE, {},
     With(kLine, {{"TYV", "5"}, {"VAT", "6"}, {"WAV", "0"}, {"WAB", "100"}, {"RE3", "T"}}),
     {{"NET", 100}, {"BRU", 100}, {"kurs", 1}}, ""},
    {"pro forma adds nothing", MAIN_2024, {}, With(kLine, {{"TYV", "6"}}), {{"kurs", 1}}, ""},
    {"invoice of an advance settled (AKT 3) does not count", MAIN_2024, {{"AKT", "3"}}, kLine,
     {{"NET", 100}, {"BRU", 123}, {"kurs", 1}}, ""},
    {"export service from 2024", MAIN_2024, {}, With(kLine, {{"VAT", "7"}, {"STM", "5"}, {"WAV", "0"}, {"WAB", "100"}}),
     {{"NET", 100}, {"BRU", 100}, {"K11", 100}, {"K12", 100}, {"kurs", 1}}, ""},
    {"auxiliary advance before 2024", AUX_BEFORE, {{"TYV", "9"}}, With(kLine, {{"TYV", "9"}}),
     {{"NET", 100}, {"BRU", 123}, {"K19", 100}, {"K20", 23}, {"kurs", 1}}, ""},
    {"auxiliary SDR 3 does not count", AUX_BEFORE, {{"TYV", "9"}, {"SDR", "3"}}, With(kLine, {{"TYV", "9"}}),
     {{"NET", 100}, {"BRU", 123}, {"kurs", 1}}, ""},
    {"auxiliary intra-EU before 2024 names only the number", AUX_BEFORE, {{"TYV", "11"}},
     With(kLine, {{"TYV", "11"}, {"STM", "2"}}),
     {{"NET", 100}, {"BRU", 123}, {"K19", 100}, {"K20", 23}, {"kurs", 1}},
     "Stawka VAT nieodpowiednia dla typu dostawy !\nNr dokumentu: ZA/1"},
    {"auxiliary FP from 2024 does not count", AUX_2024, {{"TYV", "9"}}, With(kLine, {{"TYV", "9"}}),
     {{"NET", 100}, {"BRU", 123}, {"kurs", 1}}, ""},
    {"auxiliary advance of 2024 counts", AUX_2024, {{"TYV", "11"}}, With(kLine, {{"TYV", "11"}}),
     {{"NET", 100}, {"BRU", 123}, {"K19", 100}, {"K20", 23}, {"kurs", 1}}, ""},
};

class RateSumsTest : public SalesTest {};

TEST_F(RateSumsTest, EachLineLandsInItsSums) {
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX_SECOND), 0);
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.name);
    bool aux = k.adder == AUX_BEFORE || k.adder == AUX_2024;
    TableHandles& headers = aux ? Z5SPRZ_2 : Z5SPRZ;
    TableHandles& lines = aux ? Z5SPRE_2 : Z5SPRE;
    AppendRecord(headers.table, {{"REC", "1"}, {"TYV", "1"}, {"PRE", aux ? "  ZA" : "  FV"}, {"NRV", "1"}});
    Set(headers.table, k.header);
    AppendRecord(lines.table, {{"REK", "1"}, {"TYV", "1"}, {"PRE", aux ? "  ZA" : "  FV"}, {"NRV", "1"}, {"RE3", "N"}});
    Set(lines.table, k.line);
    kontekst_jpk c{};
    c.kurs = 99;
    zeruj_sumy_stawek_jpk(&c);
    zeruj_sumy_oss_jpk(&c);
    switch (k.adder) {
      case MAIN_BEFORE: sumuj_pozycje_sprzedazy_jpk_przed_2024(&c, 0, 1, 0, 1.0); break;
      case MAIN_BEFORE_CURRENCY: sumuj_pozycje_sprzedazy_jpk_przed_2024(&c, 1, 1, 0, 1.0); break;
      case MAIN_2024: sumuj_pozycje_sprzedazy_jpk(&c, 1, 0, 1.0); break;
      case AUX_BEFORE: sumuj_pozycje_pomocnicza_jpk_przed_2024(&c, 0); break;
      case AUX_2024: sumuj_pozycje_pomocnicza_jpk(&c); break;
    }
    for (const auto& [name, value] : Sums(c)) {
      auto wanted = k.sums.find(name);
      EXPECT_NEAR(value, wanted == k.sums.end() ? 0 : wanted->second, 1e-9) << name;
    }
    EXPECT_EQ(boxes.Take(), k.box);
  }
}

TEST_F(RateSumsTest, ClearingKeepsTheRateAndTheOtherGroup) {
  kontekst_jpk c{};
  c.kurs = 4.3;
  c.suma_k19 = c.suma_rn2 = c.suma_net = 1;
  c.oss_suma = c.oss_netto[3] = c.oss_vat[0] = 2;
  zeruj_sumy_stawek_jpk(&c);
  EXPECT_EQ(c.suma_k19 + c.suma_rn2 + c.suma_net, 0);
  EXPECT_EQ(c.oss_suma, 2);
  EXPECT_EQ(c.kurs, 4.3);
  zeruj_sumy_oss_jpk(&c);
  EXPECT_EQ(c.oss_suma + c.oss_netto[3] + c.oss_vat[0], 0);
}

TEST_F(RateSumsTest, PlacementFrom2024ByRateAndSupply) {
  struct Placement {
    int code, supply;
    std::map<std::string, double> sums;
  } const table[] = {
      {3, 1, {{"K13", 10}}},          {3, 2, {{"K21", 10}}},         {3, 7, {{"K21", 10}}},
      {3, 3, {{"K22", 10}}},          {3, 8, {{"K13", 10}, {"K14", 10}}}, {3, 9, {{"K11", 10}}},
      {4, 1, {{"K10", 10}}},          {4, 2, {}},                    {7, 6, {{"K11", 10}}},
      {12, 3, {{"RN1", 10}, {"RN2", 1}}}, {8, 1, {{"K15", 10}, {"K16", 1}}}, {6, 1, {}}, {14, 1, {}},
  };
  for (const Placement& p : table) {
    SCOPED_TRACE(std::to_string(p.code) + "/" + std::to_string(p.supply));
    kontekst_jpk c{};
    dodaj_do_sum_stawek_jpk(&c, p.code, 10, 1, p.supply, 1);
    for (const auto& [name, value] : Sums(c)) {
      auto wanted = p.sums.find(name);
      EXPECT_EQ(value, wanted == p.sums.end() ? 0 : wanted->second) << name;
    }
    kontekst_jpk none{};
    dodaj_do_sum_stawek_jpk(&none, p.code, 10, 1, p.supply, 0);
    for (const auto& [name, value] : Sums(none)) EXPECT_EQ(value, 0) << name;
  }
}

}  // namespace
