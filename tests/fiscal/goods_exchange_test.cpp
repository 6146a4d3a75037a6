// The " Kasa " jobs over the goods browse with the simulated TANGO register:
// the price list sent, read back into an empty catalogue and read from
// "cennik.cen", the sales report with the stock update, zeroing, the code
// check and the deletion of one PLU.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "fiscal/cash_register.h"
#include "fiscal/tango_driver.h"
#include "tests/fiscal/goods_jobs_fixture.h"
#include "tests/fiscal/tango_simulator.h"

namespace {

class GoodsExchangeTest : public RegisterGoodsJobsTest {
 protected:
  void SetUp() override {
    RegisterGoodsJobsTest::SetUp();
    if (HasFatalFailure()) return;
    UseRegister(KASA_TANGO, &sim);
  }
  void TearDown() override {
    kfTylkoCena = -1;
    RegisterGoodsJobsTest::TearDown();
  }
  // A goods record with its sale price, VAT code and department.
  void Priced(const std::string& code, const std::string& name, double stock, double price, const char* status = "A",
              int department = 2) {
    Goods(code, name, stock,
          {{TOWA_CSB, std::to_string(price)}, {TOWA_CSN, std::to_string(price)}, {TOWA_CZN, "1"},
           {TOWA_VST, "1"}, {TOWA_DZI, std::to_string(department)}, {TOWA_STA, status}});
  }

  TangoSimulator sim;
};

TEST_F(GoodsExchangeTest, ThePriceListGoesToTheRegisterActiveGoodsOnly) {
  Priced("123", "CUKIER", 5, 3.5);
  Priced("124", "SOL", 5, 1.2, "N");
  Priced("125", "MAKA", 5, 2.25);
  Browse();
  EXPECT_EQ(Run(KasaCennik, "t"), 0);
  ASSERT_EQ(sim.plu.size(), 2u);
  std::string cukier = sim.plu[TangoSimulator::Field("123")];
  EXPECT_EQ(cukier.substr(22, 18), "CUKIER            ");
  EXPECT_EQ(cukier.substr(40, 10), "0000000350");
  EXPECT_EQ(cukier.substr(57, 2), "02");
  EXPECT_EQ(sim.plu.count(TangoSimulator::Field("125")), 1u);
  // Esc to the question sends nothing.
  sim.plu.clear();
  EXPECT_EQ(Run(KasaCennik, "{ESC}"), 0);
  EXPECT_TRUE(sim.plu.empty());
}

TEST_F(GoodsExchangeTest, AFailedRecordStopsTheTransferThere) {
  Priced("123", "CUKIER", 5, 3.5);
  Priced("12A", "SOL", 5, 1.2);
  Priced("125", "MAKA", 5, 2.25);
  Browse();
  // 12A has a letter: its message, then the repetition question answered Esc.
  EXPECT_EQ(Run(KasaCennik, "t{F9}x{F9}{ESC}"), 0);
  EXPECT_TRUE(Shown("Kod zawiera znak różny od cyfry - 12A")) << seen;
  EXPECT_TRUE(Shown("Czy powtórzyć przesłanie ostatniego kodu ?")) << seen;
  // Code order: 123, 125, then 12A.
  EXPECT_EQ(sim.plu.size(), 2u);
  EXPECT_EQ(Trim(Z5TOWA.field[TOWA_KOD]), "12A");   // the browse stands on it
}

TEST_F(GoodsExchangeTest, AnEmptyCatalogueReadsTheRegistersList) {
  std::string name = Sys("MĄKA");
  sim.plu[TangoSimulator::Field("77")] = TangoRekord(5, "77", name.c_str(), 4, 2.4, 2, '1');
  Browse();
  EXPECT_EQ(Run(KasaCennik, "t"), 0);
  ASSERT_EQ(d4reccount(Z5TOWA.table), 1);
  EXPECT_EQ(At(1, TOWA_KOD), "77");
  EXPECT_EQ(At(1, TOWA_NA1), Sys("MĄKA"));
  EXPECT_EQ(At(1, TOWA_VST), "2");
  EXPECT_EQ(At(1, TOWA_CSB), "2.4000");
  EXPECT_EQ(At(1, TOWA_DZI), "5");
  EXPECT_EQ(At(1, TOWA_STA), "A");
  FILE* list = std::fopen("cennik.cen", "rb");
  ASSERT_NE(list, nullptr);
  std::fclose(list);
}

TEST_F(GoodsExchangeTest, PriceListLines) {
  Browse();
  FILE* file = std::tmpfile();
  std::fputs("   123\tCUKIER\t6\t3.50\t2\n456\tSOL\t=\t1.23\t3", file);
  ASSERT_EQ(KasaDopiszCennik(file), 0);
  ASSERT_EQ(d4reccount(Z5TOWA.table), 2);
  EXPECT_EQ(At(1, TOWA_KOD), "123");
  EXPECT_EQ(At(1, TOWA_NA1), "CUKIER");
  EXPECT_EQ(At(1, TOWA_VST), "1");
  EXPECT_EQ(At(1, TOWA_VSS), "23.0");
  EXPECT_EQ(At(1, TOWA_CSB), "3.5000");
  EXPECT_EQ(At(1, TOWA_DZI), "2");
  EXPECT_EQ(At(1, TOWA_ILO), "0.0000");
  EXPECT_EQ(At(1, TOWA_RYT), "3");
  EXPECT_EQ(At(2, TOWA_VST), "13");
  EXPECT_EQ(At(2, TOWA_VSS), "0.0");
  EXPECT_EQ(At(2, TOWA_CSN), "1.2300");
  // A line of four fields ends the reading; what came before stays.
  std::rewind(file);
  std::fputs("7\tA\t1\t1.00\t1\n8\tB\t1\t2.00\n", file);
  EXPECT_EQ(Run([&] { return KasaDopiszCennik(file); }, "{F9}x"), -1);
  std::fclose(file);
}

TEST_F(GoodsExchangeTest, TheReportTakesTheSalesOffTheStock) {
  Priced("123", "CUKIER", 10, 3.5);
  Priced("125", "MAKA", 1, 2.0);
  Priced("126", "SOL", 4, 1.0);
  sim.Sell("123", 4000, 1400);
  sim.Sell("125", 3000, 600);
  Browse();
  // 176 yes, 204 Esc (read only), the value box, the report browse, 178 yes, 172 yes, the box.
  EXPECT_EQ(Run(KasaRaport, "t{ESC}{F9}x{F9}{ESC}tt{F9}x"), 0);
  EXPECT_TRUE(Shown("Wartość brutto sprzedaży towarów =        20.00")) << seen;
  EXPECT_TRUE(Shown("Spis zaktualizowany.")) << seen;
  EXPECT_TRUE(Shown("Uruchom zerowanie raportu w kasie !")) << seen;
  EXPECT_EQ(At(1, TOWA_ILO), "6.0000");
  EXPECT_EQ(At(1, TOWA_WSB), "21.00");
  EXPECT_EQ(At(1, TOWA_WZN), "6.00");
  // Stock below zero keeps its value; the eight stock values are 0.
  EXPECT_EQ(At(2, TOWA_ILO), "-2.0000");
  EXPECT_EQ(At(2, TOWA_WSB), "0.00");
  EXPECT_EQ(At(2, TOWA_WZN), "0.00");
  EXPECT_EQ(At(3, TOWA_ILO), "4.0000");
}

TEST_F(GoodsExchangeTest, DecliningTheUpdateChangesNothing) {
  Priced("123", "CUKIER", 10, 3.5);
  sim.Sell("123", 4000, 1400);
  Browse();
  // 176 yes, 204 Esc, the value box, the browse, 178 yes, 172 Esc: the error box.
  EXPECT_EQ(Run(KasaRaport, "t{ESC}x{ESC}t{ESC}{F9}x"), 0);
  EXPECT_TRUE(Shown("Spis nie został zaktualizowany.")) << seen;
  EXPECT_EQ(At(1, TOWA_ILO), "10.0000");
}

TEST_F(GoodsExchangeTest, ValuesWithoutQuantitiesAreNoSale) {
  Priced("123", "CUKIER", 10, 3.5);
  sim.Sell("123", 0, 500);
  Browse();
  EXPECT_EQ(Run(KasaRaport, "t{ESC}{F9}x"), 0);
  EXPECT_TRUE(Shown("Brak sprzedanych towarów.")) << seen;
  EXPECT_EQ(At(1, TOWA_ILO), "10.0000");
}

TEST_F(GoodsExchangeTest, ZeroingCheckAndDeletion) {
  Priced("123", "CUKIER", 10, 3.5);
  Priced("77", "SOL", 10, 1, "A", 43);
  Browse();
  // TANGO zeroes only through its report.
  EXPECT_EQ(Run(KasaZerowanie, "t{F9}x"), 0);
  EXPECT_TRUE(Shown("Funkcja dostępna tylko poprzez wykonanie raportu zerującego.")) << seen;
  seen.clear();
  // The check stops at the department out of range.
  EXPECT_EQ(Run(KasaWeryfikacja, "t{F9}x"), 0);
  EXPECT_TRUE(Shown("Niedopuszczalny numer działu/grupy 43 (1-42) dla 77")) << seen;
  EXPECT_FALSE(Shown("Weryfikacja zakończona poprawnie.")) << seen;
  ASSERT_EQ(d4go(Z5TOWA.table, 2), 0);
  f4assign_int(Z5TOWA.field[TOWA_DZI], 4);
  ASSERT_EQ(d4write(Z5TOWA.table, 2), 0);
  seen.clear();
  EXPECT_EQ(Run(KasaWeryfikacja, "t{F9}x"), 0);
  EXPECT_TRUE(Shown("Weryfikacja zakończona poprawnie.")) << seen;
  EXPECT_EQ(port.written, "");
  // The current record's PLU is deleted and the goods become inactive.
  sim.plu[TangoSimulator::Field("123")] = TangoRekord(2, "123", "CUKIER", 6, 3.5, 1, '1');
  ASSERT_EQ(browse_call(0, 1), 0);
  EXPECT_EQ(Run(KasaUsun, "t"), 0);
  EXPECT_TRUE(sim.plu.empty());
  EXPECT_EQ(At(1, TOWA_STA), "N");
  seen.clear();
  ASSERT_EQ(browse_call(0, 1), 0);
  EXPECT_EQ(Run(KasaUsun, "{F9}x"), 0);
  EXPECT_TRUE(Shown("Towar ma status nieaktywny.")) << seen;
}

TEST_F(GoodsExchangeTest, NoRegisterChosen) {
  Priced("123", "CUKIER", 10, 3.5);
  Browse();
  // a type number outside the list (damaged options) is no register either
  for (int type : {KASA_BRAK, 0, KASA_TYPE_COUNT + 1, 99}) {
    warehouseOptions.cashRegisterType = type;
    for (int (*job)() : {KasaCennik, KasaRaport, KasaZerowanie, KasaWeryfikacja, KasaUsun}) {
      seen.clear();
      EXPECT_EQ(Run(job, "{F9}x"), 0) << type;
      EXPECT_TRUE(Shown("Niewybrana kasa fiskalna.")) << type << seen;
    }
  }
  EXPECT_EQ(port.opens, 0);
  EXPECT_EQ(port.written, "");
  EXPECT_EQ(At(1, TOWA_STA), "A");
}

}  // namespace
