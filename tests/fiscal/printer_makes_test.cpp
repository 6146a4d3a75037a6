// Receipts through the front on the ELZAB, ORHMET, SPARK 482G and TP Line
// printers: each make's start-up, receipt and close in the front's order, a
// refused line followed by the cancel, and a silent printer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "fiscal/printer_drivers.h"
#include "tables/receipt_tables.h"
#include "tests/fiscal/fiscal_fixture.h"
#include "tests/fiscal/printer_simulators.h"

namespace {

class MakesTest : public FiscalTest {
 protected:
  // Configures the type with its simulator on the line; opens the connection.
  int OpenMake(int type, LineDevice* device) {
    Configure(type);
    port.device = device;
    return Open();
  }
  // A receipt of one line; the end's result.
  int Receipt() {
    EXPECT_EQ(DFParagonStart(1, 7.0, nullptr), 0);
    EXPECT_EQ(DFLinia("Chleb", 1, 2.0, 3.5, 7.0), 0);
    return DFParagonKoniec(7.0, 10.0, 3.0, nullptr);
  }
  static std::vector<std::string> Heads(RecordingDevice& d, size_t length) {
    std::vector<std::string> heads;
    for (const std::string& c : d.Commands()) heads.push_back(c.substr(0, length));
    return heads;
  }
  ElzabSimulator elzab;
  OrhmetSimulator orhmet;
  SparkSimulator spark;
  TpLineSimulator tpline;
};

using Texts = std::vector<std::string>;

TEST_F(MakesTest, TpLineReceipt) {
  ASSERT_EQ(OpenMake(3, &tpline), 1);
  EXPECT_EQ(DFConnectionDriver(), DF_DRIVER_TPLINE);
  EXPECT_EQ(dfSesja->textWidth, 20);
  EXPECT_EQ(Receipt(), 0);
  DFClose();
  EXPECT_EQ(Heads(tpline, 3), (Texts{"\x1b" "C\x14", "\x1b" "C\x80", "\x1b" "C\x82", "\x1b" "C\x82", "\x1b" "C\x12",
                                     "\x1b" "C0", "\x1b" "C1", "\x1b" "C6", "\x1b" "C\x81"}));
  EXPECT_EQ(tpline.Commands()[4].substr(3, 2), "\x07\x01");
  EXPECT_EQ(tpline.Commands()[2].substr(4, 20), "Start pracy         ");
}

TEST_F(MakesTest, TpLineCustomerDisplay) {
  ASSERT_EQ(OpenZ5PARE(0), 0);
  AppendNamed(Z5PARE, {{"NA1", "Chleb razowy krojony wiejski"}, {"WAB", "7.5"}});
  ASSERT_EQ(OpenMake(3, &tpline), 1);
  EXPECT_EQ(DFWyswietl(0), 0);
  auto c = tpline.Commands();
  ASSERT_GE(c.size(), 2u);
  EXPECT_EQ(c[c.size() - 2].substr(3, 21), "\x01" "Chleb razowy krojony");
  EXPECT_EQ(c.back().substr(3, 21), "\x02" + Utf8ToMazText("Wartość:") + "        7.50");
}

TEST_F(MakesTest, OrhmetReceipt) {
  ASSERT_EQ(CzytajParametryOrhmet(), 0);
  std::memcpy(parametryOrhmet.terminal, "07", 2);
  std::memcpy(parametryOrhmet.cashier, "03", 2);
  ASSERT_EQ(ZapiszParametryOrhmet(), 0);
  ASSERT_EQ(OpenMake(4, &orhmet), 1);
  EXPECT_EQ(dfSesja->textWidth, 18);
  EXPECT_EQ(Receipt(), 0);
  DFClose();
  auto c = orhmet.Commands();
  EXPECT_EQ(c, (Texts{"XX", "K1", "MK", "K4", "N", "I1", "0703T", "P5", c[8], "P1", "P2", c[11], "PA", "P3",
                      "G    10.00     3.00"}));
  EXPECT_EQ(c[8].substr(0, 18), "Nr wew. paragonu  ");
}

TEST_F(MakesTest, ElzabReceipt) {
  ASSERT_EQ(OpenMake(5, &elzab), 1);
  EXPECT_EQ(dfSesja->elzabVersion, 3);
  EXPECT_EQ(Receipt(), 0);
  DFClose();
  EXPECT_EQ(Heads(elzab, 2), (Texts{"\x1b\xff", "\x1bu", "\x1b" "C", "\x1b ", "\x1b\x06", "\x1b\x07", "\x1b\x09",
                                    "\x1b$"}));
  EXPECT_EQ(elzab.Commands()[3], std::string("\x1b \xbc\x02\x00\x00", 6));   // 700 grosze
}

TEST_F(MakesTest, SparkReceipt) {
  ASSERT_EQ(CzytajParametrySpark(), 0);
  std::strcpy(parametrySpark.cashier, "00012");
  ASSERT_EQ(ZapiszParametrySpark(), 0);
  ASSERT_EQ(OpenMake(7, &spark), 1);
  EXPECT_EQ(dfSesja->textWidth, 50);
  EXPECT_EQ(Receipt(), 0);
  DFClose();
  auto c = spark.Commands();
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0], "\x05");
  EXPECT_EQ(c[1], "500012");
  EXPECT_EQ(c[2].substr(1, 16), "0000035000002000");
  EXPECT_EQ(c[3], "18");
}

TEST_F(MakesTest, RefusedLineThenCancel) {
  struct Make {
    int type;
    LineDevice* device;
    std::function<void()> refuseLine;
    std::function<int()> cancels;
  };
  Make makes[] = {
      {3, &tpline, [&] { tpline.statusOf = [](const std::string& f) { return f[2] == 0x31 ? 19 : 0; }; },
       [&] { return tpline.Count("\x1b" "C\x38") * 10 + tpline.Count("\x1b" "C\x85"); }},
      {4, &orhmet, [&] { orhmet.final["P2"] = "D2"; }, [&] { return orhmet.Count("L4") * 11; }},
      {7, &spark, [&] { spark.answers = {0x15}; spark.statusB = 0x54; }, [&] { return spark.Count("7") * 11; }},
  };
  for (Make& m : makes) {
    ASSERT_EQ(OpenMake(m.type, m.device), 1) << m.type;
    ASSERT_EQ(DFParagonStart(1, 7.0, nullptr), 0);
    m.refuseLine();
    seen.clear();
    EXPECT_NE(RunUntilEsc([] { return DFLinia("Chleb", 1, 2.0, 3.5, 7.0); }, "{F9}x"), 0) << m.type;
    EXPECT_NE(seen, "") << m.type;
    EXPECT_EQ(DFAnuluj(), 0) << m.type;
    EXPECT_EQ(m.cancels(), 11) << m.type;
    EXPECT_EQ(dfSesja->lineCounter, 0);
    DFClose();
  }
  // ELZAB lines go unanswered: the refusal shows at the end, which then fails.
  ASSERT_EQ(OpenMake(5, &elzab), 1);
  elzab.refuse['$'] = 0x15;
  elzab.status2 = 0x02;
  EXPECT_EQ(RunUntilEsc([this] { return Receipt(); }, "x"), 0x15);
  EXPECT_EQ(dfSesja->lineCounter, 1);
  EXPECT_EQ(DFAnuluj(), 0);
  EXPECT_EQ(elzab.Count("\x1b#"), 1);
}

TEST_F(MakesTest, SilentPrinterIsNotConnected) {
  struct Make {
    int type;
    RecordingDevice* device;
    const char* keys;
  } makes[] = {{3, &tpline, "{F9}x"}, {4, &orhmet, "x{F9}x"}, {5, &elzab, "x{F9}x"}, {7, &spark, "{F9}x"}};
  for (Make& m : makes) {
    Configure(m.type);
    m.device->silent = true;
    port.device = m.device;
    seen.clear();
    EXPECT_EQ(RunUntilEsc([] { return DFOpen(0); }, m.keys), 0) << m.type;
    EXPECT_TRUE(Shown("Drukarka nie podłączona lub brak komunikacji.")) << m.type << seen;
    EXPECT_EQ(DFConnectionDriver(), DF_DRIVER_NONE);
    EXPECT_FALSE(port.open) << m.type;
    DFClose();
  }
}

}  // namespace
