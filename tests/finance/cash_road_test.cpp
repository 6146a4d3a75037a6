// The cash book through the real program, headless: a payment of an
// invoice from the sales register's " Płatność ", the cash book and the
// settlements from START > Kartoteki, and the refusals of bad input.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tables/book_tables.h"
#include "tables/cash_tables.h"
#include "tables/sales_tables.h"
#include "tests/sales/sales_road.h"

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

constexpr const char* INTO_CASH = "s{ENTER}kk";
constexpr const char* INTO_SETTLEMENTS = "s{ENTER}kr";
constexpr const char* PAYMENT = "{HOME}mt";

class CashRoadTest : public SalesRoadTest {
 protected:
  // The firm with its desk code KA1 set through " Kod kasy ", and one
  // document of its main register of 2025.
  void SeedDocument(Fields fields) {
    MakeFirmWithSales();
    RunToEnd(std::string(LOGO) + INTO_CASH + "kKA1{ENTER}{ESC}{ESC}{ESC}");
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"DAW", "20251210"},
                                {"NA1", "Odbiorca Jan Nowak"}, {"PLA", "GOTÓWKA"}, {"KKS", "1"}, {"ZAP", "N"},
                                {"KZA", "0"}, {"NET", "51.95"}, {"VAT", "11.95"}, {"BRU", "63.90"}});
    SetFields(Z5SPRZ.table, fields);
    ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
    d4close_all(&env->engine);
  }
  void CashEntry(Fields fields) {
    ASSERT_EQ(OpenZ5KASA(0), 0);
    AppendRecord(Z5KASA.table, fields);
    d4close_all(&env->engine);
  }
  std::string Cash(long n, const char* name) {
    EXPECT_EQ(OpenZ5KASA(0), 0);
    d4go(Z5KASA.table, n);
    std::string text = FieldText(Z5KASA.table, name);
    d4close_all(&env->engine);
    return text.erase(0, text.find_first_not_of(' '));
  }
  long CashCount() {
    EXPECT_EQ(OpenZ5KASA(0), 0);
    long n = d4reccount(Z5KASA.table);
    d4close_all(&env->engine);
    return n;
  }
};

// " Płatność " of FV/1 proposes its 63.90 in the KP form; F2 writes it with
// the desk code and number 1, and FV/1 is paid.
TEST_F(CashRoadTest, InvoicePaidFromTheSalesRegister) {
  SeedDocument({});
  std::string form = Run(std::string(LOGO) + INTO_SALES + PAYMENT + "w").screen;
  EXPECT_NE(form.find("kwota..............       63.90"), std::string::npos) << form;
  EXPECT_NE(form.find("numer zapisu....... KA1 /    1"), std::string::npos) << form;
  RunToEnd(std::string(LOGO) + INTO_SALES + PAYMENT + "w{F2}{ESC}{ESC}{ESC}{ESC}");
  ASSERT_EQ(CashCount(), 1);
  EXPECT_EQ(Cash(1, "PRE"), "KA1");
  EXPECT_EQ(Cash(1, "NUM"), "1");
  EXPECT_EQ(Cash(1, "KWO"), "63.90");
  EXPECT_EQ(Cash(1, "TYZ"), "1");
  OpenFirmHeaders();
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 63.90);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "T");
  d4close_all(&env->engine);
  // The cash book from the menu shows it.
  std::string book = Run(std::string(LOGO) + INTO_CASH).screen;
  EXPECT_NE(book.find("KA1 │    1│      63.90"), std::string::npos) << book;
}

// The posting is not started by the register: paying the invoice leaves the
// book, the flat-rate register and the monthly totals as they were.
TEST_F(CashRoadTest, PayingLeavesTheBooksAsTheyWere) {
  SeedDocument({});
  if (HasFatalFailure()) return;
  OpenFirmHeaders();
  ASSERT_EQ(OpenZ5DANE(2025, 0), 0);
  AppendRecord(Z5DANE.table, {{"LPO", "1"}, {"DAT", "20250110"}, {"PSP", "10"}, {"REC", "1"}});
  ASSERT_EQ(OpenZ5RYPR(2025, 0), 0);
  AppendRecord(Z5RYPR.table, {{"LPO", "1"}, {"DPR", "20250110"}, {"HAN", "10"}, {"REC", "1"}});
  ASSERT_EQ(OpenZ5STAK(2025), 0);
  d4close_all(&env->engine);
  const char* files[] = {"Z5DANE25.DBF", "Z5RYPR25.DBF", "Z5STAK25.DBF"};
  std::vector<std::string> before;
  for (const char* name : files) before.push_back(FileBytes(home + "firma1/" + name));
  RunToEnd(std::string(LOGO) + INTO_SALES + PAYMENT + "w{F2}{ESC}{ESC}{ESC}{ESC}");
  ASSERT_EQ(CashCount(), 1);
  for (size_t i = 0; i < before.size(); i++) {
    EXPECT_FALSE(before[i].empty()) << files[i];
    EXPECT_EQ(FileBytes(home + "firma1/" + files[i]), before[i]) << files[i];
  }
}

// What remains is proposed: 400.00 of 1000.00 with 600.00 in cash; -200.00
// of a correction, as a KW.
TEST_F(CashRoadTest, ProposalsOfWhatRemains) {
  SeedDocument({{"BRU", "1000"}, {"KZA", "600"}});
  CashEntry({{"TYP", "1"}, {"PRE", "KA1"}, {"NUM", "1"}, {"DAT", "20251210"}, {"TYZ", "1"}, {"ROK", "2025"},
             {"REK", "1"}, {"KWO", "600"}});
  std::string form = Run(std::string(LOGO) + INTO_SALES + PAYMENT + "w").screen;
  EXPECT_NE(form.find("kwota..............      400.00"), std::string::npos) << form;

  OpenFirmHeaders();
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  SetFields(Z5SPRZ.table, {{"TYV", "3"}, {"PRE", "  FK"}, {"KRN", "-200"}, {"KRV", "0"}, {"KZA", "0"}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
  d4close_all(&env->engine);
  ASSERT_EQ(OpenZ5KASA(0), 0);
  ASSERT_EQ(d4go(Z5KASA.table, 1), 0);
  d4delete(Z5KASA.table);
  ASSERT_EQ(d4write(Z5KASA.table, 1), 0);
  d4close_all(&env->engine);
  form = Run(std::string(LOGO) + INTO_SALES + PAYMENT + "{ENTER}").screen;
  EXPECT_NE(form.find("kwota..............     -200.00"), std::string::npos) << form;
  EXPECT_NE(form.find("*KW 1"), std::string::npos) << form;
}

// Bad input changes nothing: a negative KP, the deletion of a posted entry,
// the change of another desk's entry.
TEST_F(CashRoadTest, BadInputIsRefused) {
  SeedDocument({});
  CashEntry({{"TYP", "1"}, {"PRE", "XX"}, {"NUM", "1"}, {"DAT", "20251201"}, {"KWO", "10"}, {"KSI", "1"}});
  std::string negative = Run(std::string(LOGO) + INTO_CASH + "w{ENTER}{ENTER}{ENTER}{ENTER}-5{ENTER}").screen;
  EXPECT_NE(negative.find("Kwota musi być dodatnia."), std::string::npos) << negative;
  std::string posted = Run(std::string(LOGO) + INTO_CASH + "u").screen;
  EXPECT_NE(posted.find("księgi."), std::string::npos) << posted;
  std::string other = Run(std::string(LOGO) + INTO_CASH + "m").screen;
  EXPECT_NE(other.find("Niezgodność kodu kasy."), std::string::npos) << other;
  EXPECT_EQ(CashCount(), 1);
  EXPECT_EQ(Cash(1, "KWO"), "10.00");
}

// The settlement of an invoice on credit shows what remains in " Rozliczenia ".
TEST_F(CashRoadTest, SettlementsFromTheMenu) {
  SeedDocument({});
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  AppendRecord(Z5ROZL.table, {{"ROL", "N"}, {"TYP", "N"}, {"DOK", "FV/1"}, {"DAW", "20251210"}, {"TYZ", "1"},
                              {"ROK", "2025"}, {"REK", "1"}, {"KWO", "1000"}, {"ZAP", "400"}});
  d4close_all(&env->engine);
  std::string screen = Run(std::string(LOGO) + INTO_SETTLEMENTS).screen;
  EXPECT_NE(screen.find("ROZLICZENIA"), std::string::npos) << screen;
  EXPECT_NE(screen.find("600.00"), std::string::npos) << screen;
}

}  // namespace
