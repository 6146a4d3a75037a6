// The receipt register on the headless screen: the list with its columns and
// menus, numbering, the number window and the number change, the deletion
// of a receipt and of the invoice issued to it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "db/db_lock.h"
#include "fiscal/printer_params.h"
#include "masterdata/stock_update.h"
#include "retail/receipts.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/goods_stock.h"
#include "tests/retail/receipt_fixture.h"
#include "tests/support/lock_wait_signal.h"

namespace {

using namespace retail;

class RegisterTest : public PlainRegisterTest {
 protected:
  void SetUp() override {
    PlainRegisterTest::SetUp();
    if (HasFatalFailure()) return;
    parametryDetal.updateStock = 'T';
    std::memset(&context, 0, sizeof context);
  }
  void TearDown() override {
    zamknij_okno_raportu(0);
    PlainRegisterTest::TearDown();
  }
  bool Deleted(TableHandles& set, long record) {
    EXPECT_EQ(d4go(set.table, record), 0);
    return d4deleted(set.table) != 0;
  }
  long Stored(long record, const char* name) {
    d4go(Z5PARA.table, record);
    return f4long(H(name));
  }
  // The number state a routine outside the running register works on.
  void Numbers(int mode, const char* prefix, const char* suffix, int kind = 0) {
    kontekstParagonow = &context;
    context.numer.mode = mode;
    context.numer.invoiceKind = kind;
    std::snprintf(context.numer.prefix, sizeof context.numer.prefix, "%4s", prefix);
    std::snprintf(context.numer.suffix, sizeof context.numer.suffix, "%-9s", suffix);
  }
  kontekst_paragonow context;
};

TEST_F(RegisterTest, TheListShowsNumbersDatesTotalsAndInvoices) {
  Header(1, {{"NRV", "7"}, {"BRU", "55"}, {"STA", "T"}, {"TYF", "9"}, {"PRF", "  FP"}, {"NRF", "3"}});
  Position(1, {{"NA1", "CHLEB"}, {"ILO", "2.5"}, {"CBR", "4"}, {"WAB", "10"}});
  Header(2, {{"NRV", "8"}, {"POS", "2026"}, {"BRU", "12.5"}, {"STA", "N"}});
  Run("{HOME}{F9}{F3}{F9}{ESC}");
  EXPECT_TRUE(Shown("Paragony - 2026")) << seen;
  EXPECT_TRUE(Shown(" M ")) << seen;
  EXPECT_TRUE(Shown("  PA/    7 ")) << seen;
  EXPECT_TRUE(Shown("  FP/    3 ")) << seen;
  EXPECT_TRUE(Shown("CHLEB")) << seen;
  EXPECT_TRUE(Shown("2.500")) << seen;
  EXPECT_TRUE(Shown("  PA/    8/2026")) << seen;
  EXPECT_TRUE(Shown("10-12/26")) << seen;
  EXPECT_TRUE(Shown("12.50│                    ")) << "no invoice, no number\n" << seen;
  for (const char* menu : {"Dopisz", "Drukuj", "Faktura", "Modyfikuj", "Szukaj", "Filtry", "Suma", "Ewidencja",
                           "JPK fakt."})
    EXPECT_TRUE(Shown(menu)) << menu;
}

TEST_F(RegisterTest, NextNumberFollowsTheHighestOfItsPrefixAndSuffix) {
  Header(1, {{"NRV", "3"}});
  Header(2, {{"NRV", "9"}});
  Header(3, {{"NRV", "4"}, {"POS", "X"}});
  Header(4, {{"PRE", "  FB"}, {"NRV", "20"}});
  struct Case {
    const char* prefix;
    const char* suffix;
    int expected;
  } cases[] = {{"PA", "", 10}, {"pa", "", 10}, {"PA", "X", 5}, {"PA", "Y", 1}, {"ZZ", "", 1}, {"FB", "", 21}, {"", "", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.prefix) + "/" + c.suffix);
    Numbers(NUMER_PARAGONU, c.prefix, c.suffix);
    ASSERT_EQ(kolejny_numer(0), 0);
    EXPECT_EQ(context.numer.number, c.expected);
  }
}

TEST_F(RegisterTest, InvoiceNumbersRunPerKind) {
  Header(1, {{"TYF", "9"}, {"PRF", "  FP"}, {"NRF", "4"}});
  Numbers(NUMER_FAKTURY, "FP", "", 9);
  ASSERT_EQ(kolejny_numer(0), 0);
  EXPECT_EQ(context.numer.number, 5);
  context.numer.number = 4;
  ASSERT_EQ(HeadlessSetScript("{F9}{ENTER}"), 0);
  EXPECT_EQ(sprawdz_numer(), 1);
  EXPECT_NE(seen.find("Podany numer już istnieje!"), std::string::npos) << seen;
  EXPECT_NE(seen.find("FP/4"), std::string::npos) << seen;
  context.numer.number = 5;
  EXPECT_EQ(sprawdz_numer(), 0);
}

TEST_F(RegisterTest, RightAlignment) {
  char text[10] = "ab  ";
  wyrownaj_w_prawo(text, 4);
  EXPECT_STREQ(text, "  ab");
  std::strcpy(text, "    ");
  wyrownaj_w_prawo(text, 4);
  EXPECT_STREQ(text, "    ");
  std::strcpy(text, " x y ");
  wyrownaj_w_prawo(text, 5);
  EXPECT_STREQ(text, "  x y");
}

// " Modyfikuj " > " Numer " > " Paragon ": the number goes into the header and
// its positions; the receipt's own number and a number of another receipt
// are refused in the window.
TEST_F(RegisterTest, NumberChangeReachesThePositions) {
  Header(1, {{"NRV", "7"}, {"NET", "10"}, {"VAT", "2.3"}, {"BRU", "12.3"}});
  Position(1, {{"NRV", "7"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}});
  Header(2, {{"NRV", "8"}});
  // Home on the first receipt (date order); the window: 7 refused, 8 refused, 12 taken.
  Run("{HOME}mnp{F9}{ENTER}{ENTER}{ENTER}{F9}{ENTER}{F9}{UP}8{ENTER}{ENTER}{F9}{ENTER}{UP}12{ENTER}{ENTER}{ESC}{ESC}{ESC}");
  EXPECT_TRUE(Shown("FAKTURA DO PARAGONU")) << seen;
  EXPECT_TRUE(Shown("Podany numer już istnieje!")) << seen;
  EXPECT_EQ(Stored(1, "NRV"), 12);
  EXPECT_EQ(Stored(2, "NRV"), 8);
  d4go(Z5PARE.table, 1);
  EXPECT_EQ(f4long(P("NRV")), 12);
  EXPECT_EQ(Z5PARA.table->file_locked, 0);
}

// The second workstation: told by a byte, it locks receipt 11 for its own
// number change, answers, gives it the number 12 once this workstation has
// found the headers' lock taken, and lets go.
int toOther[2], fromOther[2], goOther[2];

int OtherWorkstationLocks(int32_t, int32_t) {
  char byte = 1;
  if (write(toOther[1], &byte, 1) != 1 || read(fromOther[0], &byte, 1) != 1) ADD_FAILURE() << "no second workstation";
  SignalAtFirstLockWait(goOther[1]);
  return 0;
}

// While the window of receipt 7 has been given 12, a second workstation
// gives 12 to receipt 11: under the headers' lock 12 is found taken.
TEST_F(RegisterTest, TwoReceiptsRenumberedToOneNumberOneIsRefused) {
  Header(1, {{"NRV", "7"}});
  Header(2, {{"NRV", "11"}});
  ASSERT_EQ(pipe(toOther), 0);
  ASSERT_EQ(pipe(fromOther), 0);
  ASSERT_EQ(pipe(goOther), 0);
  pid_t other = fork();
  if (other == 0) {
    d4close_all(&env->engine);
    char byte = 0;
    if (OpenZ5PARA(0) != 0 || read(toOther[0], &byte, 1) != 1 || go_and_lock(Z5PARA.table, 2) != 0) _exit(1);
    if (write(fromOther[1], &byte, 1) != 1) _exit(1);
    close(goOther[1]);
    AwaitLockWait(goOther[0]);
    f4assign_long(d4field(Z5PARA.table, "NRV"), 12);
    int rc = d4write(Z5PARA.table, 2) || d4flush(Z5PARA.table) || d4unlock(Z5PARA.table);
    _exit(rc == 0 ? 0 : 1);
  }
  ASSERT_GT(other, 0);
  close(goOther[0]);
  g4set_key_to(KEY_F10, OtherWorkstationLocks);
  Run("{HOME}mnp{ENTER}12{ENTER}{F10}{ENTER}{F9}{ENTER}{ESC}{ESC}{ESC}{ESC}");
  g4set_key_to(KEY_F10, nullptr);
  StopLockWaitSignal();
  int status = 0;
  waitpid(other, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(Shown("Podany numer już istnieje!")) << seen;
  EXPECT_EQ(Stored(1, "NRV"), 7);
  EXPECT_EQ(Stored(2, "NRV"), 12);
  EXPECT_EQ(Z5PARA.table->file_locked, 0);
}

// A refused give-back of the stock keeps the header with the positions left.
TEST_F(RegisterTest, DeletingAReceiptGivesItsGoodsBack) {
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  AppendNamed(Z5TOWA, {{"KOD", "T1"}, {"NA1", "TOWAR"}, {"ILO", "10"}, {"STA", "A"}});
  d4close(Z5TOWA.table);
  Header(1, {{"NRV", "1"}, {"WYD", "T"}, {"TYF", "9"}});
  AppendNamed(Z5PARO, {{"REK", "1"}, {"NA1", "NABYWCA"}});
  for (const char* code : {"T1", "GONE"})
    Position(1, {{"KOT", code}, {"NA1", "TOWAR"}, {"ILO", "4"}, {"ZRP", "1"}, {"STA", "T"}});
  // " Modyfikuj " > " Usuń " > " Paragon ", the question, the printed warning;
  // the missing goods refuse: the boxes and the report window's pause.
  Run("mupt{ENTER}{ENTER}{F9}{ENTER}{F9}{ENTER}{F9}{ENTER}{F9}{ESC}{F9}{ESC}{F9}{ESC}{F9}{ESC}{F9}{ESC}{ESC}");
  EXPECT_DOUBLE_EQ(FirstGoodsStock(), 14) << "the first position's goods came back";
  EXPECT_FALSE(Deleted(Z5PARA, 1)) << "the header stays with the position left";
  EXPECT_EQ(f4long(H("AKT")), 1);
  EXPECT_TRUE(Deleted(Z5PARE, 1));
  EXPECT_FALSE(Deleted(Z5PARE, 2));
  EXPECT_TRUE(Deleted(Z5PARO, 1));
}

TEST_F(RegisterTest, DetachingTheInvoiceBlanksItsNumberAndBuyer) {
  Header(1, {{"TYF", "9"}, {"PRF", "  FP"}, {"NRF", "3"}});
  AppendNamed(Z5PARO, {{"REK", "1"}, {"NA1", "NABYWCA"}});
  Header(2, {});
  AppendNamed(Z5PARO, {{"REK", "2"}, {"NA1", "INNY"}});
  Run("{HOME}muft{ESC}{ESC}{ESC}");
  EXPECT_EQ(Stored(1, "TYF"), 0);
  EXPECT_EQ(Stored(1, "NRF"), 0);
  EXPECT_TRUE(Deleted(Z5PARO, 1));
  EXPECT_FALSE(Deleted(Z5PARO, 2));
}

// " Modyfikuj " > " Opis " > " Paragon ": a wrong NIP is refused; a right
// one is stored in the header and in the invoice's buyer record.
TEST_F(RegisterTest, ChangedNipReachesTheInvoiceBuyer) {
  Header(1, {{"NRV", "1"}, {"TYF", "9"}, {"AKT", "1"}});
  AppendNamed(Z5PARO, {{"REK", "1"}, {"NA1", "NABYWCA"}, {"NIP", "111"}});
  Run("mop{ENTER}1234567890{ENTER}{F9}{ENTER}{ESC}{ESC}{ESC}{ESC}{ESC}");
  EXPECT_TRUE(Shown("Błędny NIP !")) << seen;
  EXPECT_TRUE(Shown("NABYWCA")) << "the buyer in the form\n" << seen;
  d4go(Z5PARO.table, 1);
  EXPECT_EQ(Trim(d4field(Z5PARO.table, "NIP")), "111");
  Run("mop{ENTER}5260250995{F2}T{ESC}{ESC}{ESC}");
  d4go(Z5PARA.table, 1);
  EXPECT_EQ(Trim(H("RE1")), "5260250995");
  EXPECT_EQ(f4long(H("AKT")), 0) << "header and positions agree";
  d4go(Z5PARO.table, 1);
  EXPECT_EQ(Trim(d4field(Z5PARO.table, "NIP")), "5260250995");
}

// " Modyfikuj " > " Pozycje ": the totals follow the positions and the error
// mark goes; " Szukaj " finds a receipt by its number.
TEST_F(RegisterTest, ChangedPositionsSetTheTotalsAndSearchFindsTheNumber) {
  Header(1, {{"NRV", "1"}, {"AKT", "1"}});
  Position(1, {{"NA1", "CHLEB"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}, {"VAT", "1"}, {"VAS", "23"}});
  Header(2, {{"NRV", "2"}});
  Run("{HOME}mp{ESC}{ESC}{ESC}");
  d4go(Z5PARA.table, 1);
  EXPECT_DOUBLE_EQ(f4double(H("NET")), 10);
  EXPECT_DOUBLE_EQ(f4double(H("VAT")), 2.3);
  EXPECT_DOUBLE_EQ(f4double(H("BRU")), 12.3);
  EXPECT_EQ(f4long(H("AKT")), 0);
  EXPECT_TRUE(Corrections(1).empty());
  seen.clear();
  Run("s{PGDN}{PGDN}1{ENTER}{F3}{F9}{ESC}");
  EXPECT_TRUE(Shown("CHLEB")) << "the positions of PA/1 under the list\n" << seen;
}

// Alt+O without an invoice to the receipt says so; without the marks option
// the key does nothing.
TEST_F(RegisterTest, MarksOfAReceiptWithoutInvoice) {
  Header(1, {{"NRV", "1"}});
  char marks = salesOptions.procedureMarks;
  salesOptions.procedureMarks = 'N';
  Run("{ALT+O}{F9}{ESC}");
  EXPECT_FALSE(Shown("Brak faktury.")) << seen;
  salesOptions.procedureMarks = 'T';
  Run("{ALT+O}{F9}{ENTER}{ESC}");
  salesOptions.procedureMarks = marks;
  EXPECT_TRUE(Shown("Brak faktury.")) << seen;
  EXPECT_EQ(Z5PARO.table->file_locked, 0);
}

// " Numer " > " Faktura ": the invoice number of its kind; a receipt without
// an invoice has none to change.
TEST_F(RegisterTest, InvoiceNumberChange) {
  Header(1, {{"NRV", "1"}, {"TYF", "9"}, {"PRF", "  FP"}, {"NRF", "3"}});
  Header(2, {{"NRV", "2"}, {"TYF", "9"}, {"PRF", "  FP"}, {"NRF", "4"}});
  Header(3, {{"NRV", "3"}});
  Run("{HOME}mnf{ENTER}4{ENTER}{ENTER}{F9}{ENTER}{UP}7{ENTER}{ENTER}{ESC}{ESC}{ESC}");
  EXPECT_TRUE(Shown("Podany numer już istnieje!")) << seen;
  EXPECT_EQ(Stored(1, "NRF"), 7);
  EXPECT_EQ(Stored(1, "NRV"), 1);
  EXPECT_EQ(Stored(2, "NRF"), 4);
  seen.clear();
  Run("mnf{F9}{ENTER}{ESC}{ESC}{ESC}");
  EXPECT_TRUE(Shown("Brak zdefiniowanego dokumentu VAT !")) << seen;
}

}  // namespace
