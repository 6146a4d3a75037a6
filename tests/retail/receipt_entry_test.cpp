// A receipt entered through the register's " Dopisz " on the headless screen
// with the simulated POSNET printer behind a fake port: printed while its
// positions are entered, closed with the change window, numbered; cancelled
// or refused at save with the printer's receipt cancelled; printed after
// saving from its saved positions.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/db_lock.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet.h"
#include "fiscal/printer_params.h"
#include "masterdata/stock_update.h"
#include "platform/screen_hook.h"
#include "retail/receipt_positions.h"
#include "retail/receipts.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/fiscal/fake_port.h"
#include "tests/masterdata/goods_stock.h"
#include "tests/retail/receipt_fixture.h"
#include "tests/support/lock_wait_signal.h"
#include "ui/std_windows.h"

namespace {

using namespace retail;

// In the positions window started by the header form: the catalogue goods
// T1, 3 pieces at its gross price 10.00 and 23 %, saved; the next position
// left.
constexpr const char* GOODS_3 = "3{ENTER}T1{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{F2}T{ENTER}{ESC}{ESC}";
// A typed position: 2 pieces of MLEKO at 12.50 and 8 %, saved; the next left.
constexpr const char* TYPED_2 =
    "d2{ENTER}{ENTER}MLEKO{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}12.50{ENTER}{ENTER}{ENTER}"
    "{ENTER}{DOWN}{ENTER}{ENTER}{F2}T{ESC}{ESC}";
// " Dopisz ", "1. ZWYKŁY".
constexpr const char* NEW_RECEIPT = "d{ENTER}";

class EntryTest : public OnlinePrinterTest {
 protected:
  void SetUp() override {
    OnlinePrinterTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5PARO(0), 0);
    ASSERT_EQ(CzytajParametryDETAL(), 0);
    parametryDetal.paidWindow = 'T';
    parametryDetal.netSpecification = 'N';
    parametryDetal.vatFromNet = 'N';
    parametryDetal.remarks = 'N';
    std::strcpy(parametryDetal.receiptIdent, "PA");
    std::strcpy(parametryDetal.receiptSuffix, "");
    ASSERT_EQ(ZapiszParametryDETAL(), 0);
    PrintMode(1);
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendNamed(Z5TOWA, {{"KOD", "T1"}, {"NA1", "CHLEB"}, {"ILO", "10"}, {"CSN", "8.13"}, {"CSB", "10"},
                         {"VST", "1"}, {"STA", "A"}});
    d4close(Z5TOWA.table);
  }
  void TearDown() override {
    if (holder > 0) {
      close(release[1]);
      waitpid(holder, nullptr, 0);
    }
    OnlinePrinterTest::TearDown();
  }
  // POSNET parameter 28 over the ONLINE protocol.
  void PrintMode(int mode) {
    ASSERT_EQ(CzytajParametryPosnet(), 0);
    parametryPosnet.onlineProtocol = 'T';
    parametryPosnet.printMode = mode;
    ASSERT_EQ(ZapiszParametryPosnet(), 0);
  }
  // The register with the connection open, as the menu action runs it.
  void Register(const std::string& keys) {
    ASSERT_EQ(HeadlessSetScript(""), 0);
    ASSERT_EQ(DFOpen(1), 1);
    Run(keys.c_str());
  }

 public:
  // Another workstation keeps a receipt header locked until the test ends.
  void HoldHeader(long record) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    holder = fork();
    if (holder == 0) {
      d4close_all(&env->engine);
      char byte = 1;
      if (OpenZ5PARA(0) != 0 || go_and_lock(Z5PARA.table, record) != 0) _exit(1);
      if (write(ready[1], &byte, 1) != 1) _exit(1);
      close(release[1]);
      while (read(release[0], &byte, 1) > 0) {
      }
      _exit(0);
    }
    close(release[0]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    // One try a round, as the program does; the operator gives the wait up.
    env->engine.lock_tries = 1;
    static const ScreenHook* screen;
    static bool waiting;
    static ScreenHook givingUp;
    screen = ScreenHookGet();
    waiting = false;
    givingUp = *screen;
    givingUp.noticeOn = [](const char* title, const char* text) {
      waiting = true;
      screen->noticeOn(title, text);
    };
    givingUp.noticeOff = [] {
      waiting = false;
      screen->noticeOff();
    };
    givingUp.readKey = [] { return waiting ? SCREEN_KEY_ESC : screen->readKey(); };
    ScreenHookSet(&givingUp);
  }  // Another workstation takes the headers' lock, answers, and once this
  // one has found the lock taken saves its receipt PA/1 as the next record
  // and lets go.
  void SaveElsewhere() {
    int ready[2], go[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(go), 0);
    holder = fork();
    if (holder == 0) {
      close(go[1]);
      d4close_all(&env->engine);
      char byte = 1;
      if (OpenZ5PARA(0) != 0 || set_lock(Z5PARA.table, -1) != 0) _exit(1);
      if (write(ready[1], &byte, 1) != 1) _exit(1);
      AwaitLockWait(go[0]);
      d4append_start(Z5PARA.table, 0);
      d4blank(Z5PARA.table);
      f4assign(d4field(Z5PARA.table, "PRE"), "  PA");
      f4assign_long(d4field(Z5PARA.table, "NRV"), 1);
      f4assign_long(d4field(Z5PARA.table, "REC"), 2);
      int rc = d4append(Z5PARA.table) || d4flush(Z5PARA.table) || d4unlock(Z5PARA.table);
      _exit(rc == 0 ? 0 : 1);
    }
    close(go[0]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    SignalAtFirstLockWait(go[1]);
  }

 protected:
  std::string Text(const char* name) { return Trim(H(name)); }
  bool Deleted(TableHandles& set, long record) {
    EXPECT_EQ(d4go(set.table, record), 0);
    return d4deleted(set.table) != 0;
  }

  pid_t holder = 0;
  int release[2] = {-1, -1};
};

TEST_F(EntryTest, OnlineReceiptIsPrintedPaidNumberedAndTakenOutOfStock) {
  Header(1, {{"NRV", "4"}, {"STA", "N"}});
  // the form saves once the positions are summed (no remarks); paid 60.00,
  // the change shown; the next receipt's choice left
  Register(std::string(NEW_RECEIPT) + GOODS_3 + TYPED_2 + "{ESC}T60{ENTER}{F9}{ENTER}{ESC}{ESC}");
  ASSERT_EQ(d4reccount(Z5PARA.table), 2);
  d4go(Z5PARA.table, 2);
  EXPECT_FALSE(d4deleted(Z5PARA.table)) << seen;
  EXPECT_EQ(f4long(H("NRV")), 5) << "the highest of PA + 1";
  EXPECT_EQ(Text("PRE"), "PA");
  EXPECT_EQ(f4long(H("REC")), 2);
  EXPECT_DOUBLE_EQ(f4double(H("BRU")), 55);
  EXPECT_DOUBLE_EQ(f4double(H("ZAP")), 55);
  EXPECT_EQ(f4long(H("AKT")), 0);
  EXPECT_EQ(Text("WYD"), "T");
  EXPECT_EQ(Text("OP"), "NIE");
  EXPECT_EQ(f4long(H("TRY")), 2);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 7);
  for (long p : Positions(2)) {
    d4go(Z5PARE.table, p);
    EXPECT_EQ(f4long(P("NRV")), 5) << "the number reached the positions";
  }
  EXPECT_TRUE(seen.find("Reszta") != std::string::npos && seen.find("5.00") != std::string::npos) << seen;
  std::vector<std::string> c = port.printer.Commands();
  auto has = [&](const char* command) { return port.printer.Count(command) == 1; };
  EXPECT_TRUE(has("trinit\tbm0\t")) << port.printer.AllCommands();
  EXPECT_TRUE(has("trline\tnaCHLEB\tvt0\tpr1000\twa3000\til3.000\t")) << port.printer.AllCommands();
  EXPECT_TRUE(has("trline\tnaMLEKO\tvt1\tpr1250\twa2500\til2.000\t")) << port.printer.AllCommands();
  EXPECT_TRUE(has("trpayment\tty0\twa6000\tre0\t")) << port.printer.AllCommands();
  EXPECT_TRUE(has("trpayment\tty0\twa500\tre1\t")) << port.printer.AllCommands();
  EXPECT_TRUE(has("trend\tto5500\tfp6000\t")) << port.printer.AllCommands();
  EXPECT_EQ(port.printer.Count("prncancel"), 0);
}

TEST_F(EntryTest, EscCancelsThePrintersReceiptAndDeletesTheReceipt) {
  parametryDetal.remarks = 'T';
  // the goods entered; Esc in the remarks and yes to leaving
  Register(std::string(NEW_RECEIPT) + GOODS_3 + "{ESC}{ESC}{ESC}{ENTER}{ESC}");
  ASSERT_EQ(d4reccount(Z5PARA.table), 1);
  EXPECT_TRUE(Deleted(Z5PARA, 1)) << seen;
  EXPECT_TRUE(Positions(1).empty());
  EXPECT_DOUBLE_EQ(StockOf("T1"), 10) << "the goods came back";
  EXPECT_EQ(port.printer.Count("trline"), 1) << port.printer.AllCommands();
  EXPECT_EQ(port.printer.Count("prncancel"), 1) << port.printer.AllCommands();
  EXPECT_EQ(port.printer.Count("trend"), 0);
}

EntryTest* running = nullptr;

// F10: another workstation locks the first receipt.
int LockFirst(int32_t, int32_t) {
  running->HoldHeader(1);
  return 0;
}

// The headers' lock is given up at the save: the receipt goes with its
// positions and the printer's receipt is cancelled.
TEST_F(EntryTest, FailedSaveCancelsThePrintersReceipt) {
  Header(1, {{"NRV", "1"}});
  running = this;
  g4set_key_to(KEY_F10, LockFirst);
  // F10 in the positions window, after the goods
  Register(std::string(NEW_RECEIPT) + GOODS_3 + "{F10}{ESC}T{F9}{ENTER}{ESC}");
  g4set_key_to(KEY_F10, nullptr);
  ASSERT_EQ(d4reccount(Z5PARA.table), 2);
  EXPECT_TRUE(Deleted(Z5PARA, 2)) << seen;
  EXPECT_TRUE(Positions(2).empty());
  EXPECT_DOUBLE_EQ(StockOf("T1"), 10);
  EXPECT_EQ(port.printer.Count("prncancel"), 1) << port.printer.AllCommands();
  EXPECT_EQ(port.printer.Count("trend"), 0);
}

TEST_F(EntryTest, RefusedStartSendsNothingMoreAndTheReceiptStaysUnprinted) {
  port.printer.onlineErrors["trinit"] = 5;
  Register(std::string(NEW_RECEIPT) + GOODS_3 + TYPED_2 + "{ESC}T{ESC}{ESC}");
  ASSERT_EQ(d4reccount(Z5PARA.table), 1);
  EXPECT_FALSE(Deleted(Z5PARA, 1)) << seen;
  EXPECT_EQ(Text("WYD"), "N");
  EXPECT_EQ(f4long(H("NRV")), 1);
  EXPECT_EQ(port.printer.Count("trline"), 0) << port.printer.AllCommands();
  EXPECT_EQ(port.printer.Count("trend"), 0) << port.printer.AllCommands();
  EXPECT_EQ(seen.find("Rozliczenie"), std::string::npos) << "no change window for a cancelled receipt";
}

// The printer confirmed the end, but the operator gave up the wait for the
// headers' lock: he is told the receipt is not marked.
TEST_F(EntryTest, PrintedReceiptThatCannotBeMarkedSaysSo) {
  Header(1, {{"NRV", "1"}});
  running = this;
  g4set_key_to(KEY_F10, LockFirst);
  // F10 in the change window: another workstation locks the new receipt
  Register(std::string(NEW_RECEIPT) + GOODS_3 + "{ESC}T{F10}60{ENTER}{ENTER}{F9}{ENTER}{ESC}{ESC}");
  g4set_key_to(KEY_F10, nullptr);
  EXPECT_NE(seen.find("Paragon wydrukowano, lecz nie oznaczono go jako wydrukowanego."), std::string::npos) << seen;
  EXPECT_EQ(port.printer.Count("trend"), 1);
  d4go(Z5PARA.table, 2);
  EXPECT_EQ(Text("WYD"), "N");
  EXPECT_EQ(f4long(H("NRV")), 2);
}

// ---- printing a saved receipt (print mode 0)

class SavedPrintTest : public EntryTest {
 protected:
  void SetUp() override {
    EntryTest::SetUp();
    if (HasFatalFailure()) return;
    PrintMode(0);
    // A net receipt with OP "TAK": two positions of net 0.10 at 23 % and
    // their correction of 0.01.
    Header(1, {{"NRV", "3"}, {"TRY", "1"}, {"NET", "0.2"}, {"VAT", "0.05"}, {"BRU", "0.25"}, {"WYD", "N"},
               {"RE1", "5260250995"}});
    for (const char* name : {"A", "B"})
      Position(1, {{"NA1", name}, {"ILO", "1"}, {"CNR", "0.1"}, {"CBR", "0.12"}, {"WNE", "0.1"}, {"WAV", "0.02"},
                   {"WAB", "0.12"}, {"VAT", "1"}, {"VAS", "23"}});
    Position(1, {{"NA1", "KOREKTA PODSUMOWANIA"}, {"ODC", "T"}, {"WAV", "0.01"}, {"WAB", "0.01"}, {"VAT", "1"},
                 {"VAS", "23"}});
    parametryDetal.paidWindow = 'N';
  }
};

// " Drukuj " > " Dokument " > "1. PARAGON FISKALNY": the corrections are
// neither counted nor sent; the total is the lines' sum.
TEST_F(SavedPrintTest, CorrectionsAreNotCountedOrSentAndTheReceiptIsMarked) {
  Register("rd{ENTER}{ESC}{ESC}");
  EXPECT_EQ(port.printer.Count("trline"), 2) << port.printer.AllCommands();
  EXPECT_EQ(port.printer.Count("trline\tnaKOREKTA"), 0);
  EXPECT_EQ(port.printer.Count("trend\tto24\t"), 1) << port.printer.AllCommands();
  d4go(Z5PARA.table, 1);
  EXPECT_EQ(Text("WYD"), "T");
  // Printed once: the question, Esc prints nothing more.
  Register("rd{ENTER}{F9}{ESC}{ESC}{ESC}");
  EXPECT_NE(seen.find("Czy wydrukować ponownie?"), std::string::npos) << seen;
  EXPECT_EQ(port.printer.Count("trend"), 1);
  Register("rd{ENTER}T{ESC}{ESC}");
  EXPECT_EQ(port.printer.Count("trend"), 2);
}

TEST_F(SavedPrintTest, RefusedLineCancelsAndTheReceiptStaysUnprinted) {
  port.printer.onlineErrors["trline"] = 5;
  Register("rd{ENTER}{ESC}{ESC}");
  EXPECT_EQ(port.printer.Count("trend"), 0) << port.printer.AllCommands();
  EXPECT_EQ(port.printer.Count("prncancel"), 1) << port.printer.AllCommands();
  d4go(Z5PARA.table, 1);
  EXPECT_EQ(Text("WYD"), "N");
}

TEST_F(SavedPrintTest, ReceiptWithoutPositionsSendsNothing) {
  Header(2, {{"NRV", "4"}});
  Register("rd{ENTER}{F9}{ENTER}{ESC}{ESC}");
  EXPECT_NE(seen.find("Pusty paragon!"), std::string::npos) << seen;
  EXPECT_EQ(port.printer.Count("trinit"), 0) << port.printer.AllCommands();
}

// Print mode 0: the saved receipt is printed after " Czy rozpocząć wydruk ?".
TEST_F(SavedPrintTest, NewReceiptIsPrintedAfterItsSave) {
  Register(std::string(NEW_RECEIPT) + GOODS_3 + "{ESC}T{F9}T{ESC}{ESC}");
  EXPECT_NE(seen.find("Czy rozpocząć wydruk ?"), std::string::npos) << seen;
  EXPECT_EQ(port.printer.Count("trinit\tbm1\t"), 1) << port.printer.AllCommands();
  EXPECT_EQ(port.printer.Count("trline\tnaCHLEB\tvt0\tpr1000\twa3000\til3.000\t"), 1) << port.printer.AllCommands();
  EXPECT_EQ(port.printer.Count("trend\tto3000\t"), 1) << port.printer.AllCommands();
  d4go(Z5PARA.table, 2);
  EXPECT_EQ(f4long(H("NRV")), 4);
  EXPECT_EQ(Text("WYD"), "T");
}

int SaveOnTheOtherWorkstation(int32_t, int32_t) {
  running->SaveElsewhere();
  return 0;
}

// While this receipt is entered, another workstation saves receipt PA/1
// under the headers' lock: this one waits for the lock and gets PA/2.
TEST_F(EntryTest, TwoWorkstationsSavingAtOnceGetDifferentNumbers) {
  running = this;
  g4set_key_to(KEY_F10, SaveOnTheOtherWorkstation);
  Register(std::string(NEW_RECEIPT) + GOODS_3 + "{F10}{ESC}T60{ENTER}{ENTER}{ESC}{ESC}");
  g4set_key_to(KEY_F10, nullptr);
  StopLockWaitSignal();
  int status = 0;
  waitpid(holder, &status, 0);
  holder = 0;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(d4reccount(Z5PARA.table), 2);
  d4go(Z5PARA.table, 1);
  EXPECT_EQ(f4long(H("NRV")), 2) << "ours, appended first, numbered at its save";
  EXPECT_EQ(Text("WYD"), "T");
  d4go(Z5PARA.table, 2);
  EXPECT_EQ(f4long(H("NRV")), 1);
}

// A working date outside the working year appends nothing.
TEST_F(EntryTest, DateOfAnotherYearIsRefusedBeforeAnythingIsAppended) {
  int year = env->settlementYear;
  env->settlementYear = year - 1;
  Register(std::string(NEW_RECEIPT) + "{F9}{ENTER}{ESC}");
  env->settlementYear = year;
  EXPECT_NE(seen.find("Data systemowa różna od roku rozrachunkwego."), std::string::npos) << seen;
  EXPECT_EQ(d4reccount(Z5PARA.table), 0);
  EXPECT_EQ(port.printer.Count("trinit"), 0);
}

}  // namespace
