// The invoice issued to a receipt through the register: its number, the
// buyer form with a seeded contractor, Esc that writes nothing, the taken
// number, the second invoice refused, the payment of Ctrl+P and the buyer
// data changed from " Opis ".
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "db/db_lock.h"
#include "env/code_pages.h"
#include "fiscal/printer_params.h"
#include "interchange/lookup_library.h"
#include "kwer_double.h"
#include "retail/receipt_invoice.h"
#include "retail/receipts.h"
#include "tables/masterdata_tables.h"
#include "tests/retail/receipt_fixture.h"

extern "C" KwerDoubleScript kwer_double_script;
KwerDoubleScript kwer_double_script;

namespace {

using namespace retail;

class InvoiceTest : public PlainRegisterTest {
 protected:
  void SetUp() override {
    PlainRegisterTest::SetUp();
    if (HasFatalFailure()) return;
    std::strcpy(parametryDetal.invoiceIdent, "FV");
    std::strcpy(parametryDetal.invoiceSuffix, "2025");
    std::strcpy(parametryDetal.paymentForm, Utf8ToMazText("GOTÓWKA").c_str());
    saved = salesOptions;
    std::strcpy(salesOptions.issuedBy, "Anna Kowalska");
    ASSERT_EQ(OpenZ5KHNT(0), 0);
    AppendNamed(Z5KHNT, {{"KOD", "K1"}, {"NA1", "Odbiorca Sp. z o.o."}, {"NA2", Utf8ToMazText("Oddział")}, {"NIP", "5260001234"},
                         {"KOP", "00-950"}, {"MIA", "Warszawa"}, {"ULI", Utf8ToMazText("Długa 5")}, {"PLA", "PRZELEW"},
                         {"OSO", "Jan Nowak"}, {"ILD", "14"}, {"TYP", "2"}, {"STA", "A"}});
    d4close(Z5KHNT.table);
    Z5KHNT.table = nullptr;
    // FV/1/2025 already given; receipt 2 is the last in date order.
    Header(1, {{"DSP", "20261201"}, {"TYF", "9"}, {"PRF", "  FV"}, {"NRF", "1"}, {"POF", "2025"}, {"BRU", "10"}});
    Header(2, {{"NRV", "2"}, {"DSP", "20261210"}, {"NET", "66.45"}, {"VAT", "15.28"}, {"BRU", "81.73"},
               {"RE1", "1234563218"}});
    Position(2, {{"NA1", "TOWAR"}, {"WAB", "81.73"}, {"RE2", "3"}});
  }
  void TearDown() override {
    salesOptions = saved;
    PlainRegisterTest::TearDown();
  }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
  }
  long Number(long record, const char* name) {
    d4go(Z5PARA.table, record);
    return f4long(H(name));
  }
  std::string Head(long record, const char* name) {
    d4go(Z5PARA.table, record);
    return Trim(H(name));
  }
  // The buyer record of receipt REC 2; false when there is none.
  bool BuyerOf2() {
    for (long r = 1; r <= d4reccount(Z5PARO.table); r++) {
      d4go(Z5PARO.table, r);
      if (!d4deleted(Z5PARO.table) && f4long(B("REK")) == 2) return true;
    }
    return false;
  }
  static DbField* B(const char* name) { return d4field(Z5PARO.table, name); }
  static std::string Buyer(const char* name) { return Trim(B(name)); }

  SalesOptions saved;
};

TEST_F(InvoiceTest, NewInvoiceTakesTheNextNumberAndTheContractor) {
  // The number window: Enter on the prefix proposes 2; the form: the code, then F2.
  Run("k{F9}{ENTER}{F9}{ENTER}{ENTER}{ENTER}K1{F9}{F2}{F9}{ESC}{ESC}");
  EXPECT_TRUE(Shown("FAKTURA DO PARAGONU")) << seen;
  EXPECT_TRUE(Shown("nr dokumentu...   FV/    2/2025")) << seen;
  EXPECT_TRUE(Shown("2. FAKTURĘ")) << "the chooser opens on the invoice";
  EXPECT_EQ(Head(2, "TYF"), "9");
  EXPECT_EQ(Head(2, "PRF"), "FV");
  EXPECT_EQ(Head(2, "NRF"), "2");
  EXPECT_EQ(Head(2, "POF"), "2025");
  ASSERT_TRUE(BuyerOf2());
  EXPECT_EQ(Buyer("KNA"), "K1");
  EXPECT_EQ(Buyer("NIP"), "5260001234");
  EXPECT_EQ(Buyer("NA1"), "Odbiorca Sp. z o.o.");
  EXPECT_EQ(Buyer("NA2"), Utf8ToMazText("Oddział"));
  EXPECT_EQ(Buyer("MIA"), "Warszawa");
  EXPECT_EQ(Buyer("PLA"), "PRZELEW");
  EXPECT_EQ(Buyer("ODE"), "Jan Nowak");
  EXPECT_EQ(Buyer("DPL"), "20261224") << "the sale date and 14 payment days";
  EXPECT_EQ(Buyer("DAW"), "20261210");
  EXPECT_EQ(Buyer("KZA"), "81.73");
  EXPECT_EQ(Buyer("ZAP"), "N");
  EXPECT_EQ(Buyer("WYS"), "Anna Kowalska");
  EXPECT_EQ(Buyer("UWA"), "do paragonu nr PA/2");
  EXPECT_EQ(Buyer("TYB"), "1");
  // The position's GTU group 3.
  EXPECT_EQ(std::string(f4ptr(B("RE1")), 30).substr(17, 1), "T");
  EXPECT_EQ(Z5PARA.table->file_locked, 0);
  EXPECT_EQ(Z5PARO.table->file_locked, 0);

  // A second invoice is refused.
  seen.clear();
  Run("k{F9}{ENTER}{ESC}");
  EXPECT_TRUE(Shown("Dokument VAT już przydzielony !")) << seen;
  EXPECT_EQ(d4reccount(Z5PARO.table), 1);
}

// Keys typed ahead past the buyer code reach the next slot the operator can
// type in (the order number); the only box on the way is the warning of a
// contractor's NIP that fails its check, and the first key closes that box.
TEST_F(InvoiceTest, KeysTypedAheadPastTheBuyerCodeReachTheNextSlot) {
  const struct {
    const char* nip;
    const char* keys;
    bool warned;
  } cases[] = {
      {"1234563218", "k{ENTER}{ENTER}{ENTER}{ENTER}K1{ENTER}{F9}12{F2}{ESC}{ESC}", false},
      {"5260001234", "k{ENTER}{ENTER}{ENTER}{ENTER}K1{ENTER}{F9}x12{F2}{ESC}{ESC}", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nip);
    ASSERT_EQ(OpenZ5KHNT(0), 0);
    d4go(Z5KHNT.table, 1);
    f4assign(d4field(Z5KHNT.table, "NIP"), c.nip);
    ASSERT_EQ(d4flush(Z5KHNT.table), 0);
    d4close(Z5KHNT.table);
    Z5KHNT.table = nullptr;
    seen.clear();
    Run(c.keys);
    EXPECT_EQ(Shown("Błędny NIP lub PESEL !"), c.warned) << seen;
    ASSERT_TRUE(BuyerOf2());
    EXPECT_EQ(Buyer("NRZ"), "12");
    EXPECT_EQ(Buyer("NIP"), c.nip);
    // The invoice again, for the next case.
    Run("muft{ESC}{ESC}{ESC}");
    ASSERT_FALSE(BuyerOf2());
  }
}

TEST_F(InvoiceTest, EscInTheFormWritesNothing) {
  Run("k{ENTER}{ENTER}{ENTER}{ENTER}K1{F9}{ESC}{ESC}");
  EXPECT_EQ(Number(2, "TYF"), 0);
  EXPECT_EQ(Number(2, "NRF"), 0);
  EXPECT_FALSE(BuyerOf2());
  EXPECT_EQ(d4reccount(Z5PARO.table), 0);
  EXPECT_EQ(Z5PARO.table->file_locked, 0);
}

TEST_F(InvoiceTest, TakenNumberIsReportedAndNothingWritten) {
  // Number 1 is FV/1/2025's.
  Run("k{ENTER}{BS}1{ENTER}{ENTER}{F9}{ENTER}{ESC}{ESC}");
  EXPECT_TRUE(Shown("Podany numer już istnieje!")) << seen;
  EXPECT_EQ(Number(2, "TYF"), 0);
  EXPECT_EQ(d4reccount(Z5PARO.table), 0);
}

// Another workstation gives FV/2/2025 while the form is open: found taken
// under the headers' lock at F2, reported, and nothing written.
int OtherWorkstationTakesTheNumber(int32_t, int32_t) {
  DbTable* headers = Z5PARA.table;
  long current = d4recno(headers);
  if (d4append_start(headers, 0) != 0) return 0;
  d4blank(headers);
  f4assign_long(d4field(headers, "REC"), 3);
  f4assign_long(d4field(headers, "TYF"), 9);
  f4assign(d4field(headers, "PRF"), "  FV");
  f4assign_long(d4field(headers, "NRF"), 2);
  f4assign(d4field(headers, "POF"), "2025");
  f4assign(d4field(headers, "DSP"), "20261101");
  if (d4append(headers) != 0 || d4flush(headers) != 0) ADD_FAILURE() << "no second invoice";
  d4go(headers, current);
  return 0;
}

TEST_F(InvoiceTest, NumberTakenMeanwhileIsCheckedAgainAtF2) {
  g4set_key_to(KEY_F10, OtherWorkstationTakesTheNumber);
  Run("k{ENTER}{ENTER}{ENTER}{ENTER}K1{F10}{F2}{F9}{ENTER}{ESC}");
  g4set_key_to(KEY_F10, nullptr);
  EXPECT_TRUE(Shown("Podany numer już istnieje!")) << seen;
  EXPECT_EQ(Number(2, "TYF"), 0);
  EXPECT_EQ(Number(2, "NRF"), 0);
  EXPECT_FALSE(BuyerOf2());
  EXPECT_EQ(Z5PARA.table->file_locked, 0);
  EXPECT_EQ(Z5PARO.table->file_locked, 0);
}

TEST_F(InvoiceTest, PaidInCashMarksThePaymentAndPaymentEntryAddsUp) {
  std::strcpy(parametryDetal.paymentForm, Utf8ToMazText("ZAPŁACONO GOTÓWKĄ").c_str());
  Run("k{ENTER}{ENTER}{ENTER}{F2}{ESC}{ESC}");
  ASSERT_TRUE(BuyerOf2());
  EXPECT_EQ(Buyer("ZAP"), "T");
  // Saved with nothing paid: a part, then the rest.
  ASSERT_EQ(go_and_lock(Z5PARO.table, d4recno(Z5PARO.table)), 0);
  f4assign_double(B("KZA"), 0);
  f4assign_char(B("ZAP"), 'N');
  ASSERT_EQ(write_and_unlock(Z5PARO.table), 0);
  seen.clear();
  Run("{CTRL+P}{F9}30{ENTER}zaliczka{ENTER}{ESC}");
  EXPECT_TRUE(Shown("Wprowadź kwotę płatności")) << seen;
  EXPECT_TRUE(Shown("81.73")) << seen;
  ASSERT_TRUE(BuyerOf2());
  EXPECT_EQ(Buyer("KZA"), "30.00");
  EXPECT_EQ(Buyer("ZAP"), "N");
  EXPECT_EQ(Buyer("OZA"), "zaliczka");
  Run("{CTRL+P}{ENTER}{ENTER}{ESC}");
  ASSERT_TRUE(BuyerOf2());
  EXPECT_EQ(Buyer("KZA"), "81.73");
  EXPECT_EQ(Buyer("ZAP"), "T");
}

TEST_F(InvoiceTest, PaymentWithoutAnInvoiceIsRefused) {
  Run("{CTRL+P}{F9}{ENTER}mof{F9}{ENTER}{ESC}{ESC}{ESC}");
  EXPECT_EQ(Count(seen, "Brak zdefiniowanego dokumentu VAT !"), 2) << seen;
  EXPECT_EQ(d4reccount(Z5PARO.table), 0);
}

TEST_F(InvoiceTest, DeletingTheInvoiceBlanksItsNumberAndBuyer) {
  Run("k{ENTER}{ENTER}{ENTER}{ENTER}K1{F2}{ESC}{ESC}");
  ASSERT_TRUE(BuyerOf2());
  Run("muft{ESC}{ESC}{ESC}");
  EXPECT_FALSE(BuyerOf2());
  EXPECT_EQ(Number(2, "TYF"), 0);
  EXPECT_EQ(Head(2, "PRF"), "");
  EXPECT_EQ(Number(2, "NRF"), 0);
}

// " Opis " > " Faktura ": the buyer form of the saved invoice; Esc keeps
// the record, F2 writes the change.
TEST_F(InvoiceTest, BuyerDataChangedFromTheDescriptionMenu) {
  Run("k{ENTER}{ENTER}{ENTER}{ENTER}K1{F2}{ESC}{ESC}");
  ASSERT_TRUE(BuyerOf2());
  Run("mof{F9}{DEL}{DEL}{ESC}{ESC}{ESC}{ESC}");
  EXPECT_TRUE(Shown("Odbiorca Sp. z o.o.")) << seen;
  ASSERT_TRUE(BuyerOf2());
  EXPECT_EQ(Buyer("KNA"), "K1");
  Run("mof{ENTER}{DEL}{DEL}{F2}{ESC}{ESC}{ESC}");
  ASSERT_TRUE(BuyerOf2());
  EXPECT_EQ(Buyer("KNA"), "");
  EXPECT_EQ(Buyer("NA1"), "Odbiorca Sp. z o.o.") << "the names stay";
  EXPECT_EQ(Buyer("PLA"), "PRZELEW");
}

// Without a buyer code the NIP slot asks the registers: F6 the GUS data into
// the names and address and the check of the number, F8 the check only.
class InvoiceLookupTest : public InvoiceTest {
 protected:
  void SetUp() override {
    InvoiceTest::SetUp();
    if (HasFatalFailure()) return;
    std::memset(&kwer_double_script, 0, sizeof kwer_double_script);
    setenv("ZELSAL_LIB_KWERLIB4", KWERLIB_DOUBLE_PATH, 1);
    mainOptions.onlineNipCheck = 'T';
  }
  void TearDown() override {
    Free_Kwer_Module();
    unsetenv("ZELSAL_LIB_KWERLIB4");
    mainOptions.onlineNipCheck = 0;
    InvoiceTest::TearDown();
  }
  static void Put(KwerDoubleAnswer& a, int offset, const char* utf8) {
    std::string text = Utf8ToMazText(utf8);
    ConvChars(text.data(), static_cast<int>(text.size()), MazToWindowsPairs, 0);
    std::memcpy(a.record + offset, text.c_str(), text.size() + 1);
  }
};

constexpr int GUS_NAME = 314, GUS_STREET = 2380, GUS_HOUSE = 2496, GUS_TOWN = 2528, GUS_POSTAL = 2564,
              GUS_POST_OFFICE = 2612;

TEST_F(InvoiceLookupTest, GusFillsTheBuyerAndTheNumberIsChecked) {
  kwer_double_script.vatStatus = 1;
  KwerDoubleAnswer& a = kwer_double_script.answers[0];
  std::snprintf(a.entry, sizeof a.entry, "BIR1_SzukajNip");
  std::snprintf(a.number, sizeof a.number, "1234563218");
  a.record[0] = 1;
  Put(a, GUS_NAME, "Hurtownia Żuraw");
  Put(a, GUS_TOWN, "Kraków");
  Put(a, GUS_POST_OFFICE, "Kraków");
  Put(a, GUS_STREET, "ul. Długa");
  Put(a, GUS_HOUSE, "12");
  Put(a, GUS_POSTAL, "30-001");
  // The NIP comes from the receipt; the code stays empty.
  Run("k{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{F6}{F9}{ENTER}{F2}{ESC}{ESC}");
  ASSERT_TRUE(BuyerOf2()) << seen;
  EXPECT_EQ(MazToUtf8Text(Buyer("NA1").c_str()), "Hurtownia Żuraw");
  EXPECT_EQ(MazToUtf8Text(Buyer("MIA").c_str()), "Kraków");
  EXPECT_EQ(Buyer("KOP"), "30-001");
  EXPECT_NE(std::string(kwer_double_script.calls).find("VAT_CzynnySprawdz"), std::string::npos)
      << kwer_double_script.calls;
}

TEST_F(InvoiceLookupTest, F8ChecksOnly) {
  kwer_double_script.vatStatus = 1;
  Run("k{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{F8}{F9}{ENTER}{F2}{ESC}{ESC}");
  ASSERT_TRUE(BuyerOf2()) << seen;
  EXPECT_EQ(Buyer("NA1"), "");
  EXPECT_NE(std::string(kwer_double_script.calls).find("VAT_CzynnySprawdz"), std::string::npos);
  EXPECT_EQ(std::string(kwer_double_script.calls).find("BIR1_SzukajNip"), std::string::npos);
}

}  // namespace
