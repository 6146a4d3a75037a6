// The ELZAB, ORHMET, SPARK 482G and TP Line drivers byte for byte against
// their simulated printers: frames, numbers, letters, refusals, silence,
// late answers and the ranges refused before anything is sent.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "env/code_pages.h"
#include "fiscal/printer_drivers.h"
#include "fiscal/printer_params.h"
#include "tests/fiscal/fiscal_fixture.h"
#include "tests/fiscal/printer_simulators.h"

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

std::string Hex(const std::string& bytes) {
  std::string text;
  for (unsigned char c : bytes) {
    char h[4];
    std::snprintf(h, sizeof h, "%s%02X", text.empty() ? "" : " ", c);
    text += h;
  }
  return text;
}

class DriverTest : public FiscalTest {
 protected:
  void Use(LineDevice* device) { port.device = device; }
  ElzabSimulator elzab;
  OrhmetSimulator orhmet;
  SparkSimulator spark;
  TpLineSimulator tpline;
};

// ---- TP Line

class TpLineTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    Use(&tpline);
    ASSERT_EQ(TpLineCmd(1, 1), 0);
  }
  void TearDown() override {
    TpLineCmd(2);
    DriverTest::TearDown();
  }
  // The command and data bytes of the last frame (ESC 'C' and the check byte dropped).
  std::string LastData() {
    std::string f = tpline.Commands().back();
    return f.substr(2, f.size() - 3);
  }
};

TEST_F(TpLineTest, FramesAndNumbers) {
  EXPECT_EQ(port.settings.baud, 4800);
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_NONE);
  EXPECT_TRUE(port.settings.rtsCts);
  EXPECT_EQ(TpLineCmd(19), 0);
  EXPECT_EQ(Hex(tpline.Commands().back()), "1B 43 14 00 78");
  EXPECT_EQ(TpLineCmd(5), 0);
  EXPECT_EQ(Hex(tpline.Commands().back()), "1B 43 80 E1");
  EXPECT_EQ(TpLineCmd(24, 25, 1, 14), 0);
  EXPECT_EQ(Hex(LastData()), "10 14 01 25 02");
  const struct {
    double quantity, price;
    char letter;
    const char* bytes;
  } lines[] = {{1.5, 12.5, 'Z', "31 00 00 00 15 00 00 00 00 12 50 00 01 02 41 42"},
               {99999.999, 2, 'A', "31 00 99 99 99 99 00 00 00 02 00 01 01 02 41 42"},
               {1, 0.05, 'G', "31 00 00 00 10 00 00 00 00 00 05 07 01 02 41 42"}};
  for (const auto& l : lines) {
    EXPECT_EQ(TpLineCmd(26, l.quantity, l.price, static_cast<int>(l.letter), "AB"), 0);
    EXPECT_EQ(Hex(LastData()), l.bytes) << l.quantity;
  }
  EXPECT_EQ(TpLineCmd(26, 1.0, 1.0, 'A', "123456789012345678901234567890"), 0);
  EXPECT_EQ(LastData().substr(13), "\x24" "123456789012345678901234");
  EXPECT_EQ(TpLineCmd(25, 1, "Start"), 0);
  EXPECT_EQ(LastData(), "\x82\x01Start" + std::string(15, ' '));
  EXPECT_EQ(TpLineCmd(20, 1234), 0);
  EXPECT_EQ(Hex(LastData()), "16 12 34");
  EXPECT_EQ(TpLineCmd(22, 7, "Nr"), 0);
  EXPECT_EQ(Hex(LastData()), "12 07 01 02 4E 72");
}

TEST_F(TpLineTest, ValuesRefusedBeforeSending) {
  size_t before = tpline.Commands().size();
  const struct {
    std::function<int()> call;
    const char* shown;
  } refusals[] = {{[] { return TpLineCmd(26, 100000.0, 1.0, 'A', "x"); }, "Przekroczona maksymalna ilość !"},
                  {[] { return TpLineCmd(26, 1.0, 100000000.0, 'A', "x"); }, "Błąd ceny"},
                  {[] { return TpLineCmd(26, 1.0, 1.005, 'A', "x"); }, "Błąd ceny"},
                  {[] { return TpLineCmd(21, 100); }, "Błąd zakresu."},
                  {[] { return TpLineCmd(20, 10000); }, "Błąd zakresu."},
                  {[] { return TpLineCmd(20, -1); }, "Błąd zakresu."}};
  for (const auto& r : refusals) {
    seen.clear();
    EXPECT_EQ(RunUntilEsc(r.call, "{F9}x"), -1);
    EXPECT_TRUE(Shown(r.shown)) << seen;
  }
  EXPECT_EQ(TpLineCmd(27), -1);
  EXPECT_EQ(TpLineCmd(0), -1);
  EXPECT_EQ(tpline.Commands().size(), before);
}

TEST_F(TpLineTest, PrinterErrorAndServiceRecords) {
  tpline.statusOf = [](const std::string& frame) { return frame[2] == 0x31 ? 13 : 0; };
  EXPECT_EQ(RunUntilEsc([] { return TpLineCmd(26, 1.0, 1.0, 'A', "x"); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Numer rekordu = 31")) << seen;
  EXPECT_TRUE(Shown("Błąd 13 - inny błąd.")) << seen;
  seen.clear();
  tpline.statusOf = [](const std::string&) { return 32; };
  EXPECT_EQ(RunUntilEsc([] { return TpLineCmd(17); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Błąd 32 - brak papieru w drukarce.")) << seen;
  tpline.statusOf = nullptr;

  tpline.records[0x53] = Bytes({0, 0x14, 0x01, 0x25, 2, 0x10, 0x30, 0x05, 0});
  tpline.records[0x50] = Bytes({0, 0x0B, 0});
  tpline.records[0x60] = Bytes({0, 7, 0});
  tpline.badCheck = true;   // the answer's check byte is not checked
  const struct {
    int op;
    std::vector<const char*> lines;
  } queries[] = {{12, {"Aktualna data: 14/01/25", "Dzień tygodnia: Wt.", "Aktualny czas: 10:30:05"}},
                 {15, {"Drukarka: błędy.", "Brak papieru.", "Podniesiona głowica."}},
                 {8, {"Ilość zerowań pamięci RAM: 7"}}};
  for (const auto& q : queries) {
    seen.clear();
    EXPECT_EQ(RunUntilEsc([&] { return TpLineCmd(q.op); }, "{F9}x"), 0);
    EXPECT_TRUE(Shown("FUNKCJE drukarki TP Line")) << seen;
    for (const char* line : q.lines) EXPECT_TRUE(Shown(line)) << line << "\n" << seen;
  }
  // A weekday outside 1..7 shows blanks.
  tpline.records[0x53][4] = 9;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return TpLineCmd(12); }, "{F9}x"), 0);
  EXPECT_TRUE(Shown("Dzień tygodnia:     ")) << seen;
  // A record that stops early: no window.
  tpline.records[0x54] = Bytes({0, '1', '2'});
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return TpLineCmd(11); }, ""), -1);
  tpline.silent = true;
  EXPECT_EQ(TpLineCmd(3), -1);
}

TEST_F(TpLineTest, DailySalesWindow) {
  unsigned char block[62] = {0x14, 0x01, 0x25, 0x00, 0x42};
  for (int g = 0; g < 10; g++) {
    unsigned char* at = block + 5 + 5 * g;
    unsigned char group[5] = {0x00, 0x01, 0x23, 0x45, 0x67};
    std::copy(group, group + 5, at);
  }
  block[5 + 5] = 0xFF;   // PTU B: none
  block[55] = 0x00;
  block[56] = 0x12;
  block[57] = 3;
  block[58] = 0xFF;
  block[59] = 5;
  auto lines = TpLineDailySales(block, sizeof block);
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[0], "Data: 14/01/25   ");
  EXPECT_EQ(lines[1], "Numer raportu: 0042");
  EXPECT_EQ(lines[2], "Sprz. opod. PTU A: 12345,67");
  EXPECT_EQ(lines[3], "Sprz. opod. PTU B: -");
  EXPECT_EQ(lines[11], Utf8ToMazText("Ilość paragonów: 0012"));
  EXPECT_EQ(lines[12], "Nr tabeli podatk.: 3");
  EXPECT_EQ(lines[14], "Zerowanie RAM: 5");
  EXPECT_TRUE(TpLineDailySales(block, 20).empty());
  EXPECT_EQ(RunUntilEsc([&] { TpLineWindow(lines); return 0; }, "{F9}x"), 0);
  EXPECT_TRUE(Shown("Sprz. opod. PTU F: 12345,67")) << seen;
}

// ---- SPARK 482G

class SparkTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    Use(&spark);
    ASSERT_EQ(SparkCmd(1, 1), 0);
  }
  void TearDown() override {
    SparkCmd(2);
    DriverTest::TearDown();
  }
};

TEST_F(SparkTest, LineBlock) {
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_EVEN);
  EXPECT_FALSE(port.settings.rtsCts);
  EXPECT_EQ(spark.Commands().front(), "\x05");   // the handshake
  std::string name = "Chleb " + std::string(40, 'x');
  EXPECT_EQ(SparkCmd(5, 2.50, 1.5, static_cast<int>('1'), 3, name.c_str()), 0);
  std::string body = spark.Commands().back();
  ASSERT_EQ(body.size(), 47u);
  EXPECT_EQ(body[0], 0x21);
  EXPECT_EQ(body.substr(1, 18), "000002500000150003");
  EXPECT_EQ(body.substr(19, 27), name.substr(0, 27));
  EXPECT_EQ(body[46], 0x41);
  EXPECT_EQ(SparkBlock("7"), Bytes({2, '7', 3, '7' ^ 3}));
  EXPECT_EQ(RunUntilEsc([] { return SparkCmd(5, 1000000.0, 1.0, '1', 1, "x"); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Za duża cena.")) << seen;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return SparkCmd(5, 1.0, 100000.0, '1', 1, "x"); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Przekroczona maksymalna ilość !")) << seen;
}

TEST_F(SparkTest, RefusedBlocksAreSentAgainSevenTimesAtMost) {
  for (int i = 0; i < 7; i++) spark.answers.push_back(0x15);
  EXPECT_EQ(SparkCmd(4), -1);
  EXPECT_EQ(spark.Count("18"), 7);
  EXPECT_EQ(spark.Count("\x05"), 1 + 7);   // the handshake and a status query per refusal

  // Line 1 acknowledged on its seventh try counts; the other four follow.
  for (int i = 0; i < 6; i++) spark.answers.push_back(0x15);
  const char* h = "Naglowek";
  EXPECT_EQ(SparkCmd(6, h, h, h, h, h), 0);
  EXPECT_EQ(spark.Count("PH1"), 7);
  EXPECT_EQ(spark.Count("PH5"), 1);
  EXPECT_EQ(spark.Commands().back(), "PH5Naglowek" + std::string(20, '\0'));

  // A status the printer reports as an error ends the exchange with its text.
  spark.answers.push_back(0x15);
  spark.statusA = 0x01;
  spark.statusB = 0x5C;
  EXPECT_EQ(RunUntilEsc([] { return SparkCmd(3); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Transakcja fiskalna")) << seen;
  EXPECT_TRUE(Shown("Nielegalny rozkaz lub format rozkazu")) << seen;
  spark.silent = true;
  EXPECT_EQ(SparkCmd(4), -1);
}

// ---- ELZAB

class ElzabTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    Use(&elzab);
    int version = 0;
    ASSERT_EQ(ElzabCmd(1, 1, &version, "01", "02"), 0);
    EXPECT_EQ(version, 3);
  }
  void TearDown() override {
    ElzabCmd(2);
    elzabOutsideProgram = 'N';
    DriverTest::TearDown();
  }
  std::string Last() { return elzab.Commands().back(); }
};

TEST_F(ElzabTest, LineFrame) {
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_EVEN);
  EXPECT_TRUE(port.settings.rtsCts);
  EXPECT_EQ(Last(), "\x1b" "C0102");
  std::string name = Utf8ToMazText("Mleko żółte  ");
  ASSERT_EQ(ElzabCmd(5, name.c_str(), "szt   ", 2.5, 3.5, 'A', 8.75), 0);
  // code page 852: ż 0xBE, ó 0xA2, ł 0x88
  std::string golden = std::string("\x1b\x06 ") + "Mleko \xbe\xa2\x88te" + std::string(17, ' ') + "0" +
                       Bytes({25, 0, 0, 0}) + "1" + "szt " + Bytes({0x5E, 1, 0, 0}) + "\x1b" "A" +
                       Bytes({0x6B, 3, 0, 0});
  EXPECT_EQ(Hex(Last()), Hex(golden));
  const struct {
    double quantity;
    int digits;
    char decimals;
  } quantities[] = {{2.5, 25, '1'}, {3, 3, '0'}, {0.0001, 1, '4'}};
  for (const auto& q : quantities) {
    ASSERT_EQ(ElzabCmd(5, "Chleb razowy", "szt", q.quantity, 1.0, 'A', 1.0), 0);
    EXPECT_EQ(Last()[32], q.digits) << q.quantity;
    EXPECT_EQ(Last()[36], q.decimals) << q.quantity;
  }
  const struct {
    const char* name;
    const char* shown;
  } names[] = {{"Ab", "Ab........"}, {"Abcdefghi", "Abcdefghi..."}, {"Abcdefghij", "Abcdefghij"}};
  for (const auto& n : names) {
    ASSERT_EQ(ElzabCmd(5, n.name, "", 1.0, 1.0, 'A', 1.0), 0);
    std::string shown = n.shown;
    EXPECT_EQ(Last().substr(3, 28), shown + std::string(28 - shown.size(), ' '));
  }
}

TEST_F(ElzabTest, OutOfRangeIsRefusedUnsent) {
  size_t before = elzab.Commands().size();
  const struct {
    double quantity, price;
  } lines[] = {{214749, 1}, {123.4567, 1}, {1, 30000000}};
  for (const auto& l : lines) {
    seen.clear();
    EXPECT_EQ(RunUntilEsc([&] { return ElzabCmd(5, "x", "", l.quantity, l.price, 'A', l.price); }, "{F9}x"), -10);
    EXPECT_TRUE(Shown("Przekroczona maksymalna ilość lub zbyt wiele cyfr znaczących.")) << seen;
  }
  EXPECT_EQ(RunUntilEsc([] { return ElzabCmd(4, 3e7); }, "x"), -10);
  EXPECT_EQ(ElzabCmd(9, 61), 0);
  EXPECT_EQ(elzab.Commands().size(), before);
  EXPECT_EQ(ElzabCmd(9, -12), 0);
  EXPECT_EQ(Last(), Bytes({0x1B, '6', 0, 1, 2}));
}

TEST_F(ElzabTest, RefusalShowsTheStatusAndFails) {
  elzab.refuse['$'] = 0x15;
  elzab.status1 = 0x08;
  elzab.status2 = 0x02 | 0x40;
  EXPECT_EQ(RunUntilEsc([] { return ElzabCmd(6, "Nr wew. paragonu 1"); }, "{F9}x{F9}x{F9}x"), 0x15);
  EXPECT_TRUE(Shown("Nie wykonany raport dobowy.")) << seen;
  EXPECT_TRUE(Shown("Brak papieru.")) << seen;
  EXPECT_EQ(elzab.Count("\x1bT"), 1);
  EXPECT_EQ(elzab.Count("\x1bU"), 1);
  char time[4], date[8];
  EXPECT_EQ(ElzabCmd(8, time, date), 0);
  EXPECT_EQ(std::string(date, 8), "20250114");
  EXPECT_EQ(std::string(time, 4), "1030");
  elzab.silent = true;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return ElzabCmd(3); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Przekroczony czas transmisji lub brak połączenia.")) << seen;
}

TEST_F(ElzabTest, LateAnswerWithinTheDeadline) {
  port.lateMs = 900;
  EXPECT_EQ(ElzabCmd(7), 0);
  port.lateMs = 2500;
  EXPECT_EQ(RunUntilEsc([] { return ElzabCmd(7); }, "x"), -1);
}

TEST_F(ElzabTest, OutsideProgramRoute) {
  elzabOutsideProgram = 'T';
  auto program = [](int exitCode) {
    std::ofstream script("RECEIPT.EXE");
    script << "#!/bin/sh\ncp \"$1\" given.txt\nexit " << exitCode << "\n";
    script.close();
    chmod("RECEIPT.EXE", 0755);
  };
  size_t before = elzab.Commands().size();
  EXPECT_EQ(RunUntilEsc([] { return ElzabCmd(5, "Chleb", "szt", -2.5, 3.5, 'A', 8.75); }, "x"), -1);   // no program
  program(0);
  EXPECT_EQ(ElzabCmd(5, "Chleb", "szt", 2.5, 3.5, 'A', 8.75), 0);
  std::ifstream given("given.txt");
  std::stringstream text;
  text << given.rdbuf();
  EXPECT_EQ(text.str(), "1\t9600\t9\n+\tChleb\t1\t25\t350\tszt\t2\n");
  program(2);
  EXPECT_EQ(RunUntilEsc([] { return ElzabCmd(5, "Chleb", "szt", 2.5, 3.5, 'A', 8.75); }, "x"), -1);
  EXPECT_EQ(elzab.Commands().size(), before);
  std::remove("RECEIPT.EXE");
}

// ---- ORHMET

class OrhmetTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    Use(&orhmet);
    ASSERT_EQ(OrhmetCmd(1, 1), 0);
  }
  void TearDown() override {
    OrhmetCmd(2);
    DriverTest::TearDown();
  }
};

TEST_F(OrhmetTest, CommandsDataAndStatus) {
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_NONE);
  EXPECT_TRUE(port.settings.rtsCts);
  EXPECT_EQ(OrhmetCmd(6, "Chleb", 'A', 1.5, 2.0), 0);
  auto c = orhmet.Commands();
  EXPECT_EQ(c[c.size() - 2], "P2");
  EXPECT_EQ(c.back(), "Chleb             A     2.00      1.5000");
  orhmet.final["P2"] = "D0";
  EXPECT_EQ(OrhmetCmd(6, "Chleb", 'A', 3.0, 2.0), 0);
  EXPECT_EQ(orhmet.Commands().back().substr(28), "        3000");
  orhmet.final["L4"] = "I1";
  EXPECT_EQ(RunUntilEsc([] { return OrhmetCmd(7); }, "{F9}x"), 17);
  EXPECT_TRUE(Shown("Instrukcja OK!")) << seen;
  int v[5];
  EXPECT_EQ(OrhmetCmd(3, &v[0], &v[1], &v[2], &v[3], &v[4]), 0);
  EXPECT_EQ(v[0] * 100 + v[2], 2514);
  EXPECT_EQ(v[3] * 100 + v[4], 1030);
  EXPECT_EQ(OrhmetCmd(10, '-', 12.5), 0);
  EXPECT_EQ(orhmet.Commands().back(), "-    12.50");
  EXPECT_EQ(OrhmetCmd(8), 0);
  EXPECT_EQ(OrhmetCmd(99), 0);
}

TEST_F(OrhmetTest, RefusalsAndSilence) {
  size_t before = orhmet.Commands().size();
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return OrhmetCmd(6, "x", 'A', 12345.6789, 1.0); }, "{F9}x"), 10000);
  EXPECT_TRUE(Shown("Za duża kwota")) << seen;
  EXPECT_EQ(RunUntilEsc([] { return OrhmetCmd(10, '+', 1e7); }, "x"), 10000);
  EXPECT_EQ(orhmet.Commands().size(), before);
  orhmet.first["K4"] = "DA";
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return OrhmetCmd(13, 'N'); }, "{F9}x"), 10);
  EXPECT_TRUE(Shown("Nie wykonany raport dobowy")) << seen;
  orhmet.ackForStatus = true;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return OrhmetCmd(12, 'M', 'K'); }, "{F9}x"), 300);
  EXPECT_TRUE(Shown("Przeterminowanie")) << seen;
}


// A receipt open that never gets its final status asks after a minute and stops on Esc.
TEST_F(OrhmetTest, SilentWaitAsksAndEndsWith301) {
  orhmet.final["P1"] = "";
  orhmet.first["P1"] = "I1";
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return OrhmetCmd(4); }, "{F9}t{F9}{ESC}{F9}x"), 301);
  EXPECT_TRUE(Shown("Drukarka nie odpowiada. Czekać dalej ?")) << seen;
  EXPECT_TRUE(Shown("Przerwa w drukowaniu")) << seen;
}


// With the trace switch at 0 the blocks are traced in their window, which
// waits for a key when the port closes.
TEST_F(SparkTest, TraceWindow) {
  SparkCmd(2);
  env->refuseDamagedTables = 0;
  EXPECT_EQ(SparkCmd(1, 1), 0);
  EXPECT_EQ(SparkCmd(4), 0);
  EXPECT_EQ(RunUntilEsc([] { return SparkCmd(2); }, "{F9}x"), 0);
  env->refuseDamagedTables = 1;
  EXPECT_TRUE(Shown("Komunikacja z kasą")) << seen;
  EXPECT_TRUE(Shown("  1 1#5")) << seen;       // ENQ sent
  EXPECT_TRUE(Shown("  2 5#1")) << seen;       // the five bytes of the answer
  EXPECT_TRUE(Shown("  4 5#218#3")) << seen;   // STX '1' '8' ETX and the check byte
  EXPECT_TRUE(Shown("  5 1#6")) << seen;       // ACK
  EXPECT_EQ(SparkCmd(1, 1), 0);                // the next connection without the window
}


TEST_F(SparkTest, PolishLettersInTheHeader) {
  std::string line = Utf8ToMazText("Zażółć gęślą jaźń ŁÓDŹ");
  EXPECT_EQ(SparkCmd(6, line.c_str(), "", "", "", ""), 0);
  std::string sent = spark.Commands()[spark.Commands().size() - 5].substr(3);
  EXPECT_EQ(Hex(sent.substr(0, 23)), Hex("Za\xd7\xcd\xca\xc3 g\xc6\xd1l\xc1 ja\xd6\xcc \xaa\xad" "D\xb6" + std::string(1, '\0')));
}

}  // namespace
