// The browse of the transfer orders on the headless screen: the new order's
// defaults, the copy of an order with Ctrl+C and Ctrl+Z, the form of payment
// key, the print marks, the amount filter and the sums of the accounts.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "env/code_pages.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/personnel_tables.h"
#include "tests/sales/sales_fixture.h"
#include "tests/tables/tables_fixture.h"

namespace {

class TransferBrowseTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    saved = mainOptions;
    mainOptions.transfer41 = 'W';
    env->useSystemDate = 'N';
    std::memcpy(env->workingDate, "20261210", 9);
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetFields(Z5PAWL.table, {{"NA1", "Firma Testowa"}, {"ULI", "Polna"}, {"NRD", "7"}, {"KOD", "00-950"},
                             {"MIA", "Warszawa"}, {"BAN1", "Bank Pierwszy"},
                             {"NRR1", "11 2222 3333 4444 5555 6666 7777"}});
    ASSERT_EQ(OpenZ5PLEW(0), 0);
  }
  void TearDown() override {
    mainOptions = saved;
    SalesScreenTest::TearDown();
  }
  void Order(Fields fields) { AppendRecord(Z5PLEW.table, fields); }
  int Run(const char* keys) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = -99;
    try {
      result = Przelewy();
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
    return result;
  }
  std::string O(long n, int field) {
    d4go(Z5PLEW.table, n);
    return Trim(Z5PLEW.field[field]);
  }
  MainOptions saved{};
};

// " Dopisz " and F2 store an ordinary order of the working date to print, paid by
// the own firm from its basic account in the default form of payment.
TEST_F(TransferBrowseTest, NewOrderDefaults) {
  EXPECT_EQ(Run("d{F9}{F2}t{ESC}{ESC}{ESC}"), 0);
  EXPECT_NE(seen.find("Ewidencja przelewów 2026"), std::string::npos) << seen;
  EXPECT_NE(seen.find("ZLECENIODAWCA: FIRMA"), std::string::npos) << seen;
  ASSERT_EQ(d4reccount(Z5PLEW.table), 1);
  EXPECT_EQ(O(1, PLEW_TYP), "1");
  EXPECT_EQ(O(1, PLEW_DAP), "20261210");
  EXPECT_EQ(O(1, PLEW_DRU), "T");
  EXPECT_EQ(O(1, PLEW_ROW), "W");
  EXPECT_EQ(O(1, PLEW_SOZ), "5");
  EXPECT_EQ(O(1, PLEW_TYB), "1");
  EXPECT_EQ(O(1, PLEW_KOZ), "PODSTAWOWE");
  EXPECT_EQ(O(1, PLEW_NZ1), "Firma Testowa");
  EXPECT_EQ(O(1, PLEW_BAZ), "Bank Pierwszy");
  EXPECT_EQ(O(1, PLEW_KNZ), "11 2222 3333 4444 5555 6666 7777");
}

// Ctrl+Z after Ctrl+C appends an exact copy, date and print mark included;
// a ZUS order of 2026 stays of kind 2 and is edited on the ordinary screen.
TEST_F(TransferBrowseTest, CopyOfAnOrder) {
  Order({{"DAP", "20261105"}, {"TYP", "2"}, {"KWO", "812.50"}, {"KOO", "ZUS"}, {"NO1", "ZUS"}, {"SYP", "ZUSSP"},
         {"DRU", "N"}, {"ROW", "P"}, {"TY1", "skladki 11/2026"}, {"KNZ", "33 1111"}});
  EXPECT_EQ(Run("{CTRL+Z}{CTRL+C}{CTRL+Z}{F9}{F2}t{ESC}"), 0);
  EXPECT_NE(seen.find("kwota...       812.50"), std::string::npos) << seen;
  EXPECT_NE(seen.find("forma płatności"), std::string::npos) << seen;
  ASSERT_EQ(d4reccount(Z5PLEW.table), 2);
  for (int field : {PLEW_DAP, PLEW_TYP, PLEW_KWO, PLEW_KOO, PLEW_SYP, PLEW_DRU, PLEW_ROW, PLEW_TY1, PLEW_KNZ}) {
    SCOPED_TRACE(field);
    EXPECT_EQ(O(2, field), O(1, field));
  }
}

// F7 switches the form of payment; " Ustaw " toggles the print mark and
// " Kasuj " clears the marks of every order.
TEST_F(TransferBrowseTest, FormOfPaymentAndPrintMarks) {
  Order({{"DAP", "20261201"}, {"TYP", "1"}, {"KWO", "10"}, {"DRU", "T"}, {"ROW", "P"}});
  Order({{"DAP", "20261202"}, {"TYP", "1"}, {"KWO", "20"}, {"DRU", "T"}, {"ROW", "P"}});
  EXPECT_EQ(Run("{F7}{F9}{ESC}"), 0);
  EXPECT_NE(seen.find("WPŁATA"), std::string::npos) << seen;
  EXPECT_EQ(O(1, PLEW_ROW), "W");
  EXPECT_EQ(O(2, PLEW_ROW), "P");
  EXPECT_EQ(Run("t{ESC}"), 0);
  EXPECT_EQ(O(1, PLEW_DRU), "N");
  EXPECT_EQ(O(2, PLEW_DRU), "T");
  EXPECT_EQ(Run("k{ESC}"), 0);
  EXPECT_EQ(O(1, PLEW_DRU), "N");
  EXPECT_EQ(O(2, PLEW_DRU), "N");
}

// " Suma " adds the orders by the payer's account; the amount filter keeps
// an order of exactly the amount entered.
TEST_F(TransferBrowseTest, SumsByAccountWithTheAmountFilter) {
  Order({{"DAP", "20261201"}, {"TYP", "1"}, {"TYB", "1"}, {"KWO", "99.99"}});
  Order({{"DAP", "20261202"}, {"TYP", "1"}, {"TYB", "1"}, {"KWO", "100.00"}});
  Order({{"DAP", "20261203"}, {"TYP", "1"}, {"TYB", "2"}, {"KWO", "250.00"}});
  Order({{"DAP", "20261204"}, {"TYP", "1"}, {"TYB", "6"}, {"KWO", "7.00"}});
  const char* keys = "a{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}100{ENTER}{F2}{F9}x{ESC}{ESC}";
  EXPECT_EQ(Run(keys), 0);
  EXPECT_NE(seen.find("PODSUMOWANIE"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Konto podstawowe..         100.00"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Konto pomocnicze 1         250.00"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Konto inne........           0.00"), std::string::npos) << seen;
}

// " Modyfikuj " edits each order on the form of its kind; a ZUS order of
// 2017 on the ZUS form.
TEST_F(TransferBrowseTest, EachKindOnItsForm) {
  const struct {
    const char *typ, *workingDate, *label;
  } cases[] = {{"1", "20261210", "forma płatności... "},
               {"2", "20171210", "numer deklaracji [RRRRMMNN]."},
               {"2", "20261210", "symbol płatności.. ZUSSP"},
               {"3", "20261210", "np.01M02 (luty 2001)"},
               {"4", "20261210", "w tym kwota VAT"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::memcpy(env->workingDate, c.workingDate, 9);
    env->settlementYear = std::stoi(std::string(c.workingDate, 4));
    for (long n = 1; n <= d4reccount(Z5PLEW.table); n++) {
      d4go(Z5PLEW.table, n);
      d4delete(Z5PLEW.table);
    }
    ASSERT_EQ(d4pack(Z5PLEW.table), 0);
    Order({{"DAP", "20261201"}, {"TYP", c.typ}, {"KWO", "10"}, {"KOO", "ZUS"}, {"SYP", "ZUSSP"}, {"ROW", "P"}});
    seen.clear();
    EXPECT_EQ(Run("m{F9}{ESC}{ESC}{ESC}"), 0);
    EXPECT_NE(seen.find(c.label), std::string::npos) << seen;
  }
  env->settlementYear = 2026;
}

// The keys of the tax form: F4 lists the tax symbols at the symbol, the tax
// offices at the payee's code (opened for the choice); F6 lists the
// partners without those whose insurance title keeps them off.
TEST_F(TransferBrowseTest, TaxFormChoosers) {
  ASSERT_EQ(OpenZ5WSPL(0), 0);
  AppendRecord(Z5WSPL.table, {{"NAZ", "Adamski"}, {"IM1", "Adam"}, {"KTU", "051100"}});
  AppendRecord(Z5WSPL.table, {{"NAZ", "Kowalski"}, {"IM1", "Jan"}, {"KTU", "057000"}, {"NIP", "111-22-33-444"}});
  d4close(Z5WSPL.table);
  Z5WSPL.table = nullptr;
  SetFields(Z5PAWL.table, {{"ZN3", "33 1010 MIKRO"}});
  Order({{"DAP", "20261201"}, {"TYP", "3"}, {"KWO", "10"}, {"ROW", "P"}});
  // symbol: the second of the list; payee: the first office of the seeded
  // ones, the cursor then on the account; payer: the partner offered
  const char* keys = "m{ENTER}{ENTER}{ENTER}{F4}{DOWN}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{F4}{ENTER}{ENTER}{F6}{F9}"
                     "{ENTER}{ENTER}{F2}t{ESC}";
  EXPECT_EQ(Run(keys), 0);
  EXPECT_EQ(Z5USKA.table, nullptr);   // closed after the choice
  EXPECT_NE(seen.find("Kowalski"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("Adamski"), std::string::npos) << seen;
  EXPECT_EQ(O(1, PLEW_SYP), "VAT");
  ASSERT_EQ(OpenZ5USKA(0), 0);
  std::string office;
  for (long n = 1; n <= d4reccount(Z5USKA.table); n++) {
    d4go(Z5USKA.table, n);
    if (Trim(d4field(Z5USKA.table, "KOD")) == O(1, PLEW_KOO)) office = Trim(d4field(Z5USKA.table, "NAZ"));
  }
  EXPECT_FALSE(office.empty());
  EXPECT_EQ(O(1, PLEW_NO1), office);
  d4close(Z5USKA.table);
  Z5USKA.table = nullptr;
  EXPECT_EQ(O(1, PLEW_KNO), "33 1010 MIKRO");
  EXPECT_EQ(O(1, PLEW_SOO), "2");
  EXPECT_EQ(O(1, PLEW_KOZ), "2");
  EXPECT_EQ(O(1, PLEW_NZ1), "Kowalski");
  EXPECT_EQ(O(1, PLEW_SOZ), "6");
  EXPECT_EQ(O(1, PLEW_TYB), "6");
  EXPECT_EQ(O(1, PLEW_IDD), "N");
  EXPECT_EQ(Z5WSPL.table, nullptr);
}

// " Szukaj ": by date (the next later order when none is that day), by a
// fragment of the title or of the payee's name, in any case.
TEST_F(TransferBrowseTest, SearchByDateTitleAndPayee) {
  Order({{"DAP", "20261201"}, {"TYP", "1"}, {"KWO", "1.00"}, {"TY1", "czynsz"}, {"NO1", "Wynajmujacy"}});
  Order({{"DAP", "20261205"}, {"TYP", "1"}, {"KWO", "2.00"}, {"TY1", "faktura"}, {"TY2", "FV/7/2026"},
         {"NO1", "Hurtownia"}});
  Order({{"DAP", "20261209"}, {"TYP", "1"}, {"KWO", "3.00"}, {"TY1", "energia"}, {"NO1", "Elektrownia"}});
  const struct {
    const char *keys, *title;
  } cases[] = {{"sd041226{ENTER}", "faktura"},   // none on the 4th: the 5th is the next
               // a pattern search waits on what it found until Esc
               {"stfv/7{ENTER}{ESC}", "faktura"},
               {"soELEKTR{ENTER}{ESC}", "energia"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    seen.clear();
    EXPECT_EQ(Run((std::string(c.keys) + "{F9}{ESC}{ESC}").c_str()), 0);
    EXPECT_NE(seen.find(std::string("tytuł.   ") + c.title), std::string::npos) << seen;
  }
}

// The code key routine without a caller: F4 opens the list of the party
// kind shown (the own firm's accounts, a partner's record number); Alt+K
// blanks the field; a ZUS party has no list.
TEST_F(TransferBrowseTest, PartyCodeFromTheListOfItsKind) {
  ASSERT_EQ(OpenZ5WSPL(0), 0);
  AppendRecord(Z5WSPL.table, {{"NAZ", "Kowalski"}, {"IM1", "Jan"}, {"KTU", "057000"}});
  d4close(Z5WSPL.table);
  Z5WSPL.table = nullptr;
  ASSERT_EQ(OpenZ5PRAC(0), 0);
  AppendRecord(Z5PRAC.table, {{"NAZ", "Zielinska"}, {"IM1", "Anna"}});
  AppendRecord(Z5PRAC.table, {{"NAZ", "Adamczyk"}, {"IM1", "Piotr"}});
  d4close(Z5PRAC.table);
  Z5PRAC.table = nullptr;
  const struct {
    const char *party, *keys, *code;
    int payer;
  } cases[] = {{"5", "{F4}{DOWN}{ENTER}", "POMOCNICZE 1", 1},
               {"6", "{F4}{ENTER}", "1", 0},
               {"4", "{F4}{DOWN}{ENTER}", "1", 1},   // by name: Adamczyk, then Zielinska
               {"3", "{F4}", "STARY", 0},
               {"5", "{ALT+K}", "", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    d4blank(Z5PLEW.table);
    SetFields(Z5PLEW.table, {{c.payer ? "SOZ" : "SOO", c.party}});
    std::string buffer = "STARY               ";
    Get4 get{};
    get.type = GET_TEXT;
    get.data = buffer.data();
    get.dataWidth = static_cast<int>(buffer.size());
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    EXPECT_EQ(WybierzKodStrony(&get, buffer.data(), c.payer), -1);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_EQ(MazToUtf8Text(buffer.substr(0, buffer.find_last_not_of(' ') + 1).c_str()), c.code);
  }
  EXPECT_EQ(Z5WSPL.table, nullptr);
  EXPECT_EQ(Z5PRAC.table, nullptr);
}

// Entering a ZUS order's symbol opens the payment types at the current one;
// a choice makes the payee ZUS without an account, Esc goes back a field.
TEST_F(TransferBrowseTest, ZusPaymentTypes) {
  d4blank(Z5PLEW.table);
  SetFields(Z5PLEW.table, {{"KNO", "11 2222"}});
  std::string buffer = "ZUSZD  ";
  Get4 get{};
  get.type = GET_TEXT;
  get.data = buffer.data();
  get.dataWidth = static_cast<int>(buffer.size());
  ASSERT_EQ(HeadlessSetScript("{F9}{DOWN}{ENTER}"), 0);
  EXPECT_EQ(TypWplatyZus(&get, buffer.data(), 0), KEY_ENTER);
  EXPECT_EQ(buffer, "ZUSFP  ");
  EXPECT_EQ(Trim(Z5PLEW.field[PLEW_SOO]), "3");
  EXPECT_EQ(Trim(Z5PLEW.field[PLEW_KNO]), "");
  EXPECT_NE(seen.find("4. ZUSFEP"), std::string::npos) << seen;
  ASSERT_EQ(HeadlessSetScript("{ESC}"), 0);
  EXPECT_EQ(TypWplatyZus(&get, buffer.data(), 0), KEY_UP);
  EXPECT_EQ(buffer, "ZUSFP  ");
}

}  // namespace
