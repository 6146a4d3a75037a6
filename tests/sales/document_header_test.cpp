// The save of a sales document header: the totals check against the lines,
// the header stamped into its lines, the split-payment question, the
// deletion of a document with its lines, and a stored header's repair.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "app/option_sets.h"
#include "db/db_engine.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "sales/document_header.h"
#include "sales/buyer.h"
#include "sales/document_lines.h"
#include "sales/line_code.h"
#include "masterdata/address_clipboard.h"
#include "sales/document_totals.h"
#include "sales/header_form.h"
#include "sales/sales_register.h"
#include "env/session/field_text.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/display.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "tests/sales/sales_fixture.h"

namespace {

class DocumentHeaderTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    definition = definicja_rejestru_sprzedazy{};
    definition.lastDelivery = 1;
    definicjaRejestru = &definition;
    buduj_formularze_naglowka(1);
  }
  void TearDown() override {
    definicjaRejestru = nullptr;
    SalesScreenTest::TearDown();
  }
  // An FV/1 header of record 1 with its totals; the headers table stands on it.
  void Document(const char* net, const char* vat, const char* gross) {
    AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"VAT", "1"}});
    AppendRecord(Z5SPRE.table, {{"REK", "2"}, {"WNE", "5"}, {"WAV", "1"}, {"WAB", "6"}});
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"STM", "1"},
                                {"DAW", "20261210"}, {"DAV", "20261211"}, {"WAL", "PLN"}, {"KVA", "1"},
                                {"NET", net}, {"VAT", vat}, {"BRU", gross}});
  }
  bool LineOfHeaderLeft() {
    for (long r = 1; r <= d4reccount(Z5SPRE.table); r++) {
      d4go(Z5SPRE.table, r);
      if (!d4deleted(Z5SPRE.table) && f4long(d4field(Z5SPRE.table, "REK")) == 1) return true;
    }
    return false;
  }

  definicja_rejestru_sprzedazy definition{};
};

TEST_F(DocumentHeaderTest, SaveStampsTheLinesWhenTheTotalsAgree) {
  Document("100.00", "23.00", "123.00");
  ASSERT_EQ(zapisz_dokument(Z5SPRZ.table, nullptr, nullptr), 0);
  EXPECT_FALSE(d4deleted(Z5SPRZ.table));
  d4go(Z5SPRE.table, 1);
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "TYV")), 1);
  EXPECT_EQ(FieldText(Z5SPRE.table, "PRE"), "  FV");
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "NRV")), 1);
  EXPECT_EQ(FieldText(Z5SPRE.table, "DAV"), "20261211");
  EXPECT_EQ(FieldText(Z5SPRE.table, "WAL"), "PLN");
  d4go(Z5SPRE.table, 2);
  EXPECT_EQ(FieldText(Z5SPRE.table, "TYV"), "") << "a line of another header is not touched";
}

TEST_F(DocumentHeaderTest, TotalsOffByOneGroszAreNotSaved) {
  for (const char* gross : {"123.01", "122.99"}) {
    Document("100.00", "23.00", gross);
    HeadlessSetScript("{F9}{ENTER}");
    EXPECT_EQ(zapisz_dokument(Z5SPRZ.table, nullptr, nullptr), -1) << gross;
    EXPECT_TRUE(d4deleted(Z5SPRZ.table)) << gross;
    EXPECT_FALSE(LineOfHeaderLeft()) << gross;
    EXPECT_NE(seen.find("Nie zgadza się podsumowanie dokumentu z sumą pozycji !"), std::string::npos) << seen;
    seen.clear();
  }
}

TEST_F(DocumentHeaderTest, SplitPaymentIsAskedAboveFifteenThousandZloty) {
  struct Case {
    double gross;
    const char* currency;
    double rate;
    int kind;
    bool asked;
  } cases[] = {{15000.00, "PLN", 1, 1, false}, {15000.01, "PLN", 1, 1, true}, {4000.00, "EUR", 4.0, 1, true},
               {3750.00, "EUR", 4.0, 1, false}, {20000.00, "PLN", 1, 5, false}};
  for (const Case& c : cases) {
    AppendRecord(Z5SPRZ.table, {{"TYV", std::to_string(c.kind)}, {"WAL", c.currency},
                                {"KVA", std::to_string(c.rate)}, {"REC", "1"}});
    wyczysc_sumy_dokumentu();
    sumyDokumentu.document[SUM_GROSS] = c.gross;
    definition.splitPaymentAnswered = false;
    HeadlessSetScript("{F9}T");
    zapisz_sumy_naglowka(c.kind);
    bool asked = seen.find("Czy mechanizm podzielonej płatności?") != std::string::npos;
    EXPECT_EQ(asked, c.asked) << c.gross << " " << c.currency;
    EXPECT_EQ(f4int(d4field(Z5SPRZ.table, "NRM")), c.asked ? 1 : 0) << c.gross;
    EXPECT_EQ(FieldText(Z5SPRZ.table, "NKV").size() >= 13 && FieldText(Z5SPRZ.table, "NKV")[12] == 'T', c.asked)
        << c.gross;
    seen.clear();
  }
}

TEST_F(DocumentHeaderTest, DeletingAHeaderTakesItsLines) {
  ASSERT_EQ(OpenZ5KASA(0), 0);
  Document("100.00", "23.00", "123.00");
  long header = d4recno(Z5SPRZ.table);
  ASSERT_EQ(go_and_lock(Z5SPRZ.table, header), 0);
  EXPECT_EQ(przed_usunieciem_dokumentu(), 0);
  d4unlock(Z5SPRZ.table);
  EXPECT_FALSE(LineOfHeaderLeft());
  d4go(Z5SPRE.table, 2);
  EXPECT_FALSE(d4deleted(Z5SPRE.table)) << "the line of another header stays";
}

TEST_F(DocumentHeaderTest, ARefusedGiveBackKeepsTheHeaderWithItsRemainingLines) {
  ASSERT_EQ(OpenZ5KASA(0), 0);
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  salesOptions.stockOnEntry = 'T';
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"KOT", "BEZ"}, {"STA", "N"}, {"ILO", "2"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"KOT", "BRAK"}, {"STA", "T"}, {"ILO", "3"}});
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}});
  long header = d4recno(Z5SPRZ.table);
  ASSERT_EQ(go_and_lock(Z5SPRZ.table, header), 0);
  // The goods are unknown to the catalogue and the operator does not go on.
  HeadlessSetScript("{ENTER}{ESC}{ENTER}{F9}x");
  EXPECT_EQ(przed_usunieciem_dokumentu(), 1);
  d4unlock(Z5SPRZ.table);
  EXPECT_NE(seen.find("Dokument pozostaje"), std::string::npos) << seen;
  d4go(Z5SPRE.table, 1);
  EXPECT_TRUE(d4deleted(Z5SPRE.table)) << "the line that moved no stock went";
  d4go(Z5SPRE.table, 2);
  EXPECT_FALSE(d4deleted(Z5SPRE.table));
  EXPECT_EQ(FieldText(Z5SPRE.table, "STA"), "T");
}

TEST_F(DocumentHeaderTest, TheRepairOfAStoredHeaderWritesItsLinesToo) {
  salesOptions.list131 = 14;
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"TYV", "1"}, {"WNE", "10"}});
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"SDR", "3"}, {"AKT", "0"}, {"STM", "1"},
                              {"ANU", "N"}, {"TTR", "N"}, {"RE3", "T"}, {"STV", "T"}, {"KRA", "POLSKA"},
                              {"PKA", "N"}});
  long header = d4recno(Z5SPRZ.table);
  ASSERT_EQ(go_and_lock(Z5SPRZ.table, header), 0);
  EXPECT_EQ(przygotuj_modyfikacje(), 0);
  d4unlock(Z5SPRZ.table);
  EXPECT_EQ(context.kind, 9);
  d4go(Z5SPRE.table, 1);
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "TYV")), 9) << "the lines carry the repaired kind";
  d4go(Z5SPRZ.table, header);
  EXPECT_EQ(f4int(d4field(Z5SPRZ.table, "TYV")), 9);
  EXPECT_EQ(f4int(d4field(Z5SPRZ.table, "SDR")), 1);
}

TEST_F(DocumentHeaderTest, EscInTheCorrectedKindMenuStopsTheAddInEveryYear) {
  context.kind = 3;
  for (int year : {2023, 2026}) {
    env->settlementYear = year;
    // From 2024 the delivery type is asked first.
    HeadlessSetScript(year >= 2024 ? "{ENTER}{F9}{ESC}" : "{F9}{ESC}");
    EXPECT_EQ(przygotuj_nowy_dokument(), -1) << year;
    EXPECT_EQ(d4reccount(Z5SPRZ.table), 0) << year;
    EXPECT_NE(seen.find("WYBIERZ TYP KORYGOWANEGO DOKUMENTU"), std::string::npos) << seen;
    seen.clear();
  }
}

TEST_F(DocumentHeaderTest, NipChecksThatReachNoRegisterLeaveTheVatPayerMark) {
  mainOptions.onlineNipCheck = 'T';
  // No lookup library here: neither GUS nor the Polish list can be asked.
  for (const char* keys : {"{F8}{F9}{ENTER}", "{F6}{F9}{ENTER}{ENTER}"}) {
    for (const char* mark : {"T", "N"}) {
      AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"STM", "1"}, {"RE3", mark}, {"NIP", "1234563218"}});
      char buffer[21] = "1234563218          ";
      Get4 get{};
      get.dataWidth = 20;
      HeadlessSetScript(keys);
      EXPECT_EQ(pole_nip_nabywcy(&get, buffer, POLE_NAGLOWKA), KEY_HOME) << keys;
      EXPECT_EQ(FieldText(Z5SPRZ.table, "RE3"), mark) << keys;
      EXPECT_NE(seen.find("Brak modułu"), std::string::npos) << seen;
      seen.clear();
    }
  }
  mainOptions.onlineNipCheck = 'N';
}

// Saves `count` documents of one line each, the line and the header named
// by `who`; 0 when every save went through.
int SaveDocuments(const char* who, int count, kontekst_sprzedazy& context) {
  for (int i = 0; i < count; i++) {
    context.kind = 1;
    if (przygotuj_nowy_dokument() != 0) return 10;
    std::string name = std::string(who) + " " + std::to_string(i);
    FldCopyString(d4field(Z5SPRZ.table, "NA1"), name.c_str());
    long header = f4long(d4field(Z5SPRZ.table, "REC"));
    DbTable* lines = Z5SPRE.table;
    if (d4append_start(lines, 0) != 0) return 1;
    d4blank(lines);
    f4assign_long(d4field(lines, "REK"), header);
    FldCopyString(d4field(lines, "NA1"), name.c_str());
    if (lock_and_append(lines, nullptr, nullptr) != 0) return 11;
    d4unlock(lines);
    if (zapisz_dokument(Z5SPRZ.table, nullptr, nullptr) != 0) return 12;
  }
  return 0;
}

TEST_F(DocumentHeaderTest, TwoWorkstationsSavingAtOnceTakeEveryNumberOnce) {
  env->settlementYear = 2023;   // no delivery menu
  salesOptions.autoNumbering = 'T';
  salesOptions.standardNumbering = 'T';
  std::strcpy(salesOptions.numbering[DOC_FV].prefix, "FV");
  constexpr int PER_STATION = 20;
  // The year's tables exist before the stations start, as they do once a
  // year is opened: two first opens at once would both try to create them.
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  pid_t stations[2];
  for (int s = 0; s < 2; s++) {
    stations[s] = fork();
    ASSERT_GE(stations[s], 0);
    if (stations[s] == 0) {
      // Own opens of the files, so that its locks are its own; a lock wait
      // finds no key and waits on.
      d4close_all(&env->engine);
      HeadlessOnExhausted([] { usleep(2000); });
      if (OpenZ5SPRZ(0, 0, SALES_MAIN) != 0 || OpenZ5SPRE(0, 0, SALES_MAIN) != 0) _exit(2);
      _exit(SaveDocuments(s == 0 ? "A" : "B", PER_STATION, context));
    }
  }
  for (pid_t station : stations) {
    int status = 0;
    waitpid(station, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WIFEXITED(status) << " " << WEXITSTATUS(status);
  }
  d4close_all(&env->engine);
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  DbTable* headers = Z5SPRZ.table;
  DbTable* lines = Z5SPRE.table;
  ASSERT_EQ(d4reccount(headers), 2 * PER_STATION);
  ASSERT_EQ(d4reccount(lines), 2 * PER_STATION);
  std::set<long> recs, numbers;
  std::map<long, std::string> names;
  std::map<long, long> numberOf;
  for (long r = 1; r <= d4reccount(headers); r++) {
    d4go(headers, r);
    EXPECT_FALSE(d4deleted(headers));
    recs.insert(f4long(d4field(headers, "REC")));
    numbers.insert(f4long(d4field(headers, "NRV")));
    names[f4long(d4field(headers, "REC"))] = FieldText(headers, "NA1");
    numberOf[f4long(d4field(headers, "REC"))] = f4long(d4field(headers, "NRV"));
  }
  EXPECT_EQ(recs.size(), 2u * PER_STATION);
  EXPECT_EQ(numbers.size(), 2u * PER_STATION);
  EXPECT_EQ(*recs.begin(), 1);
  EXPECT_EQ(*recs.rbegin(), 2 * PER_STATION);
  EXPECT_EQ(*numbers.begin(), 1);
  EXPECT_EQ(*numbers.rbegin(), 2 * PER_STATION);
  for (long r = 1; r <= d4reccount(lines); r++) {
    d4go(lines, r);
    long rek = f4long(d4field(lines, "REK"));
    EXPECT_EQ(names[rek], FieldText(lines, "NA1")) << "line " << r;
    EXPECT_EQ(f4long(d4field(lines, "NRV")), numberOf[rek]) << "stamped after the number was taken";
  }
}

TEST_F(DocumentHeaderTest, ABuyerFromTheCatalogueBringsItsDataAndMarks) {
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  std::string marks(40, ' ');
  marks[1] = 'T';    // procedure mark 2
  marks[15] = 'T';   // GTU 1
  marks[27] = 'T';   // GTU 13
  AppendRecord(Z5KHNT.table, {{"KOD", "ZBYT"}, {"NA1", "Hurtownia Zbyt"}, {"MIA", "Radom"}, {"NIP", "1234563218"},
                              {"ILD", "14"}, {"TYC", "B"}, {"UPU", "5"}, {"PLA", "PRZELEW"}, {"RE1", marks}});
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"DAS", "20261210"}, {"ZAP", "T"}, {"KZA", "10"}, {"NKK", "    T"}});
  auto f = [](const char* name) { return d4field(Z5SPRZ.table, name); };
  pola_schowka_adresu = PolaSchowkaAdresu{f("KNA"), f("NA1"), f("NA2"), f("KOP"), f("MIA"), f("ULI"), f("NIP"),
                                          f("RE3"), f("PLA"), f("OP1"), f("OP2"), f("ODE"), f("KRA"), f("UPU"),
                                          nullptr};
  char code[21] = "zbyt                ";
  Get4 get{};
  get.data = code;
  get.dataWidth = 20;
  EXPECT_EQ(waliduj_kontrahenta(&get), 0);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "NA1"), "Hurtownia Zbyt");
  EXPECT_EQ(FieldText(Z5SPRZ.table, "KRA"), "POLSKA") << "a blank country is Poland";
  EXPECT_EQ(FieldText(Z5SPRZ.table, "RE3"), "T");
  EXPECT_EQ(FieldText(Z5SPRZ.table, "NKV").substr(0, 2), " T");
  EXPECT_EQ(FieldText(Z5SPRZ.table, "NKK"), "T   T       T") << "added to the marks already set";
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DPL"), "20261224");
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "N");
  EXPECT_EQ(poziomCenKontrahenta, 'B');
  EXPECT_DOUBLE_EQ(rabatDokumentu, 5);

  std::memcpy(code, "NIKT", 4);
  HeadlessSetScript("{F9}{ENTER}");
  EXPECT_EQ(waliduj_kontrahenta(&get), -1);
  EXPECT_NE(seen.find("Niezdefiniowany kod pozycji!"), std::string::npos) << seen;
  EXPECT_EQ(poziomCenKontrahenta, 'A');
}

TEST_F(DocumentHeaderTest, DocumentKindTextsOfTheForm) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"SDR", "1"}, {"NRM", "1"}, {"NKK", "  T"}});
  odswiez_teksty_formularza();
  wybierz_formularz_naglowka(1);
  TextCtrl* texts = teksty_formularza(0);
  bool found = false;
  for (TextCtrl* t = texts; !found; t++) {
    if (t->codeTexts && *t->field == d4field(Z5SPRZ.table, "SDR")) {
      EXPECT_EQ(MazToUtf8Text(t->codeTexts[1]), "1. ZWYKŁY");
      found = true;
    }
    if (t->flags & DEF_LAST) break;
  }
  EXPECT_TRUE(found);
}

}  // namespace
