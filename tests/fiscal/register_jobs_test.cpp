// The " Kasa " jobs of the goods browse over each register family's
// simulated register: the price list sent, and the sales report read with
// the stock update (a stock that falls below zero keeps its quantity, its
// eight stock values become 0).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "fiscal/cash_register.h"
#include "tests/fiscal/goods_jobs_fixture.h"
#include "tests/fiscal/register_simulators.h"

namespace {

struct Family {
  int type;
  std::function<std::unique_ptr<RegisterSimulator>()> make;
  long unit;               // the register's count of one piece sold
  long grosz;              // and of one grosz
  const char* reportKeys;  // KasaRaport: 176, (204,) the value box, the browse, 178, 172, the last box
};

template <class Sim, class... Args>
std::function<std::unique_ptr<RegisterSimulator>()> Make(Args... args) {
  return [=] { return std::make_unique<Sim>(args...); };
}

const char* const kPlain = "t{F9}x{F9}{ESC}tt{F9}x";
const char* const kAsksMode = "t{ESC}{F9}x{F9}{ESC}tt{F9}x";

const Family kFamilies[] = {
    {KASA_ADAX, Make<AdaxSimulator>(), 1000, 1, kPlain},
    {KASA_TOTAL_TAX, Make<AdaxSimulator>(), 1000, 1, kPlain},
    {KASA_DSA40, Make<DsaSimulator>(KASA_DSA40), 1, 1, kPlain},
    {KASA_MALA, Make<DsaSimulator>(KASA_MALA), 1, 1, kPlain},
    {KASA_DSA100, Make<DsaSimulator>(KASA_DSA100), 1000, 1, kAsksMode},
    {KASA_DSA4000S, Make<DsaSimulator>(KASA_DSA4000S), 1000, 1, kAsksMode},
    {KASA_CR280_PLUS, Make<Cr280Simulator>(KASA_CR280_PLUS), 1, 1, kPlain},
    {KASA_CR280_PLUS3, Make<Cr280Simulator>(KASA_CR280_PLUS3), 100, 1, kPlain},
    {KASA_CR280_THER3, Make<Cr280Simulator>(KASA_CR280_THER3), 1, 1, kPlain},
    {KASA_CR280_THER4, Make<Cr280Simulator>(KASA_CR280_THER4), 10000, 100, kPlain},
    {KASA_OMRON, Make<OmronSimulator>(), 1000, 1, kPlain},
    {KASA_PS2000, Make<Ps2000Simulator>(), 100, 1, kPlain},
};

class RegisterJobsTest : public RegisterGoodsJobsTest, public ::testing::WithParamInterface<Family> {
 protected:
  void SetUp() override {
    RegisterGoodsJobsTest::SetUp();
    if (HasFatalFailure()) return;
    sim = GetParam().make();
    UseRegister(GetParam().type, sim.get());
  }
  void Priced(const std::string& code, double stock, double price, const char* status = "A") {
    Goods(code, "CUKIER", stock,
          {{TOWA_CSB, std::to_string(price)}, {TOWA_CSN, std::to_string(price)}, {TOWA_CZN, "1"},
           {TOWA_VST, "1"}, {TOWA_DZI, "2"}, {TOWA_STA, status}});
  }

  std::unique_ptr<RegisterSimulator> sim;
};

TEST_P(RegisterJobsTest, APriceListSentAndAReportTakenOffTheStock) {
  Priced("123", 10, 3.5);
  Priced("124", 5, 1.2, "N");
  Priced("125", 1, 2.0);
  Browse();
  EXPECT_EQ(Run(KasaCennik, "t"), 0);
  EXPECT_EQ(sim->plus.size(), 2u) << seen;
  EXPECT_EQ(sim->plus.count(123), 1u);
  EXPECT_EQ(sim->plus.count(124), 0u);
  EXPECT_EQ(sim->plus[123].grosze, 350);
  long unit = GetParam().unit;
  sim->sales[123] = SimSales{4 * unit, 1400 * GetParam().grosz};
  sim->sales[125] = SimSales{3 * unit, 600 * GetParam().grosz};
  EXPECT_EQ(Run(KasaRaport, GetParam().reportKeys), 0);
  EXPECT_TRUE(Shown("Wartość brutto sprzedaży towarów =        20.00")) << seen;
  EXPECT_TRUE(Shown("Spis zaktualizowany.")) << seen;
  EXPECT_EQ(At(1, TOWA_ILO), "6.0000");
  EXPECT_EQ(At(1, TOWA_WSB), "21.00");
  EXPECT_EQ(At(3, TOWA_ILO), "-2.0000");
  for (int field : {TOWA_WZN, TOWA_WZB, TOWA_WSN, TOWA_WSB, TOWA_WBN, TOWA_WBB, TOWA_WCN, TOWA_WCB})
    EXPECT_EQ(At(3, field), "0.00") << field;
  EXPECT_EQ(At(2, TOWA_ILO), "5.0000");
}

INSTANTIATE_TEST_SUITE_P(Families, RegisterJobsTest, ::testing::ValuesIn(kFamilies),
                         [](const ::testing::TestParamInfo<Family>& info) { return "Type" + std::to_string(info.param.type); });

}  // namespace
