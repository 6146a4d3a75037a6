// The option sets on disk: defaults of a fresh directory, what the working
// year does to the values read and saved, and the round trip of a save.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/option_values.h"
#include "app/param_store.h"
#include "tests/app/options_fixture.h"

namespace {

class OptionSetsTest : public OptionsTest {
 protected:
  // Reads or writes single parameters of a set's file in the firm directory.
  struct Direct {
    ParamTable ctx{};
    explicit Direct(const char* file) {
      ctx.k1 = 1;
      ctx.k2 = 1;
      ctx.section = "TEST";
      EXPECT_EQ(OpenParamTable(&ctx, file, 0, PARAM_CURRENT_DIR), 0);
    }
    ~Direct() { d4close(ctx.table); }
    std::string Text(int number) {
      char buffer[PARAM_TEXT_MAX + 1] = {};
      GetParam(&ctx, number, 'C', buffer, PARAM_TEXT_MAX);
      std::string s(buffer);
      s.erase(s.find_last_not_of(' ') + 1);
      return MazToUtf8Text(s.c_str());
    }
    int Int(int number) {
      int value = -99;
      GetParamInt(&ctx, number, &value, -99);
      return value;
    }
    double Double(int number) {
      double value = -99;
      GetParamDouble(&ctx, number, &value, -99);
      return value;
    }
    int Records() { return d4reccount(ctx.table); }
  };

  static std::string Trimmed(const char* text) {
    std::string s(text);
    s.erase(s.find_last_not_of(' ') + 1);
    return MazToUtf8Text(s.c_str());
  }
};

TEST_F(OptionSetsTest, FreshFirmGetsEveryDefaultOfTheSalesOptions) {
  ASSERT_EQ(LoadEwidencjeOptions(), 0);
  ASSERT_TRUE(Exists(firm + "Z5PAEV.DBF"));
  struct Row {
    SalesDocumentKind kind;
    int nameNumber, prefixNumber, suffixNumber;
    const char* name;
    const char* prefix;
  } rows[] = {
      {DOC_FV, 63, 1, 2, "FAKTURA nr", "FV"},
      {DOC_RU, 64, 3, 4, "RACHUNEK nr", "RU"},
      {DOC_FK, 65, 5, 6, "FAKTURA KORYGUJĄCA nr", "FK"},
      {DOC_RK, 66, 7, 8, "RACHUNEK KORYGUJĄCY nr", "RK"},
      {DOC_BR, 67, 9, 10, "SPRZEDAŻ BEZRACHUNKOWA nr", "BR"},
      {DOC_PF, 68, 45, 46, "FAKTURA PRO FORMA nr", "PF"},
      {DOC_MP, 92, 90, 91, "FAKTURA VAT-MP nr", "MP"},
      {DOC_NK, 69, 53, 55, "NOTA KORYGUJĄCA nr", "NK"},
      {DOC_FM, 119, 117, 118, "FAKTURA VAT MARŻA nr", "FM"},
      {DOC_FZ, 116, 114, 115, "FAKTURA ZALICZKOWA nr", "FZ"},
      {DOC_RR, 84, 81, 83, "FAKTURA VAT RR nr", "RR"},
      {DOC_FP, 135, 136, 137, "FAKTURA do paragonu nr", "FP"},
      {DOC_ZP, 141, 142, 143, "FAKTURA ZALICZKOWA nr", "ZP"},
  };
  Direct file("Z5PAEV.DBF");
  int records = file.Records();
  for (const Row& r : rows) {
    const DocumentNumbering& n = salesOptions.numbering[r.kind];
    EXPECT_EQ(Trimmed(n.name), r.name);
    EXPECT_EQ(std::strlen(n.name), 40u) << r.name;
    EXPECT_EQ(Trimmed(n.prefix), r.prefix);
    EXPECT_EQ(Trimmed(n.suffix), "");
    EXPECT_EQ(file.Text(r.nameNumber), r.name);
    EXPECT_EQ(file.Text(r.prefixNumber), r.prefix);
    EXPECT_EQ(file.Text(r.suffixNumber), "");
  }
  EXPECT_EQ(file.Int(54), 1);
  EXPECT_EQ(file.Int(82), 1);
  EXPECT_EQ(file.Text(78), "PKWiU");
  EXPECT_EQ(file.Text(112), "odebrał");
  EXPECT_EQ(file.Text(121), "120");
  EXPECT_EQ(file.Text(109), "data dokonania,zakończenia dostawy towarów / wykonania usługi");
  EXPECT_EQ(file.Text(110), "miesiąc dokonania,zakończenia dostawy towarów / wykonania usługi");
  EXPECT_EQ(file.Double(105), 450);
  EXPECT_EQ(file.Double(106), 100);
  EXPECT_EQ(file.Text(58), "T");
  EXPECT_EQ(file.Text(124), "T");
  EXPECT_EQ(file.Text(134), "T");
  EXPECT_EQ(file.Text(22), "N");
  for (int number : {13, 14, 15, 16, 44, 50, 51, 61, 77, 79, 101, 102, 120}) EXPECT_EQ(file.Int(number), 1) << number;
  EXPECT_EQ(file.Int(60), 4);
  EXPECT_EQ(file.Int(103), 4);
  EXPECT_EQ(file.Int(107), 3);
  EXPECT_EQ(file.Int(128), 3);
  EXPECT_EQ(file.Int(131), 14);
  EXPECT_EQ(file.Int(132), 14);
  EXPECT_EQ(file.Int(37), 0);   // stored as found; memory holds the derived entry
  EXPECT_EQ(salesOptions.usualLumpSum2022, 3);
  EXPECT_EQ(salesOptions.simplifiedLimitPln, 450);
  EXPECT_EQ(file.Records(), records) << "every parameter was created on the first load";
}

TEST_F(OptionSetsTest, WorkingYearConvertsTheSalesOptionsAsTheyAreRead) {
  struct Case {
    int year;
    int vatCode13, vatCode14, lumpSum16, lumpSum37;
    char s125, s127, s104;
  } cases[] = {
      {2012, 5, 10, 1, 3, 'T', 'T', 'T'},   // 104 fixed to 'T'
      {2015, 5, 10, 1, 3, 'T', 'T', 'N'},   // 16 above 6 falls back to 1
      {2016, 5, 10, 7, 4, 'T', 'T', 'N'},
      {2017, 5, 10, 7, 4, 'N', 'N', 'N'},
      {2022, 5, 10, 4, 4, 'N', 'N', 'N'},   // 16 takes the entry of 37
      {2024, 3, 7, 4, 4, 'N', 'N', 'N'},    // codes grouped
  };
  for (const Case& c : cases) {
    {
      Direct file("Z5PAEV.DBF");
      SetParamInt(&file.ctx, 13, 5);
      SetParamInt(&file.ctx, 14, 10);
      SetParamInt(&file.ctx, 16, 7);
      SetParamInt(&file.ctx, 37, 0);
      SetParamStr(&file.ctx, 25, "T");
      SetParamStr(&file.ctx, 125, "T");
      SetParamStr(&file.ctx, 127, "T");
      SetParamStr(&file.ctx, 104, "N");
    }
    env->settlementYear = c.year;
    ASSERT_EQ(LoadEwidencjeOptions(), 0) << c.year;
    EXPECT_EQ(salesOptions.usualVatCode, c.vatCode13) << c.year;
    EXPECT_EQ(salesOptions.vatCode14, c.vatCode14) << c.year;
    EXPECT_EQ(salesOptions.usualLumpSum, c.lumpSum16) << c.year;
    EXPECT_EQ(salesOptions.usualLumpSum2022, c.lumpSum37) << c.year;
    EXPECT_EQ(salesOptions.stored25, 'N') << c.year;
    EXPECT_EQ(salesOptions.stored125, c.s125) << c.year;
    EXPECT_EQ(salesOptions.stored127, c.s127) << c.year;
    EXPECT_EQ(salesOptions.printClassification, c.s104) << c.year;
  }
}

TEST_F(OptionSetsTest, SalesSaverKeepsWhatTheYearDoesNotOwn) {
  struct Case {
    int year;
    int stored37;            // after the save
    const char* stored125;   // after the save
    const char* stored104;
  } cases[] = {
      {2012, 0, "N", "T"},   // 104 is neither read nor written; 125 written back as changed
      {2016, 0, "N", "N"},
      {2017, 0, "T", "N"},   // 125 and 127 left as they were
      {2023, 6, "T", "N"},   // 37 follows 16
  };
  for (const Case& c : cases) {
    {
      Direct file("Z5PAEV.DBF");
      SetParamInt(&file.ctx, 37, 0);
      SetParamInt(&file.ctx, 16, 2);
      SetParamStr(&file.ctx, 125, "T");
      SetParamStr(&file.ctx, 104, "T");
    }
    env->settlementYear = c.year;
    ASSERT_EQ(LoadEwidencjeOptions(), 0);
    salesOptions.usualLumpSum = 6;
    salesOptions.usualLumpSum2022 = 0;
    salesOptions.stored125 = 'N';
    salesOptions.printClassification = 'N';
    std::memcpy(salesOptions.numbering[DOC_FV].prefix, "XX  ", 4);
    ASSERT_EQ(SaveEwidencjeOptions(), 0);
    Direct file("Z5PAEV.DBF");
    EXPECT_EQ(file.Int(37), c.stored37) << c.year;
    EXPECT_EQ(file.Int(16), 6) << c.year;
    EXPECT_EQ(file.Text(125), c.stored125) << c.year;
    EXPECT_EQ(file.Text(104), c.stored104) << c.year;
    EXPECT_EQ(file.Text(1), "XX") << c.year;
    EXPECT_EQ(file.Text(25), "N") << c.year;
  }
}

TEST_F(OptionSetsTest, MainOptionsLiveInTheProgramDirectoryAndDeriveByYear) {
  ASSERT_EQ(LoadMainOptions(), 0);
  EXPECT_TRUE(Exists(dir + "prog/Z5PABV.DBF"));
  EXPECT_FALSE(Exists(firm + "Z5PABV.DBF"));
  EXPECT_EQ(mainOptions.workingYear, 2026) << "the computer's year";
  EXPECT_EQ(env->settlementYear, 2026);
  EXPECT_EQ(env->keyboardCodePage, 3);
  EXPECT_EQ(env->colourVariant, 'T');
  EXPECT_EQ(env->useSystemDate, 'T');
  EXPECT_EQ(env->passwordAfterBlanking, 'N');
  EXPECT_EQ(Trimmed(mainOptions.archiveDir), "A:");
  EXPECT_EQ(mainOptions.transfer39, 54);
  EXPECT_EQ(mainOptions.transfer41, 'P');
  EXPECT_EQ(mainOptions.taxiLumpSum, 4);
  EXPECT_EQ(optionSharedContractors, 'N');
  EXPECT_EQ(std::strlen(optionContractorsDir), 34u);
  EXPECT_EQ(currentVatRates[VAT_BASIC], 23);

  struct Case {
    int year;
    double basic, rr;
    double eighth, ninth;
  } cases[] = {{2010, 22, 6, 17, 20}, {2011, 23, 7, 17, 20}, {2020, 23, 7, 17, 20}, {2021, 23, 7, 15, 17}};
  for (const Case& c : cases) {
    mainOptions.workingYear = c.year;
    env->confirmSave = 'N';
    std::memcpy(optionContractorsDir, "D:\\KONTR", 8);
    ASSERT_EQ(SaveMainOptions(), 0);
    env->confirmSave = 'T';
    ASSERT_EQ(LoadMainOptions(), 0);
    EXPECT_EQ(mainOptions.workingYear, c.year);
    EXPECT_EQ(env->settlementYear, c.year);
    EXPECT_EQ(env->confirmSave, 'N');
    EXPECT_EQ(Trimmed(optionContractorsDir), "D:\\KONTR");
    EXPECT_EQ(currentVatRates[VAT_BASIC], c.basic) << c.year;
    EXPECT_EQ(currentVatRates[VAT_RR_REFUND], c.rr) << c.year;
    EXPECT_EQ(lumpSumRates[7], c.eighth) << c.year;
    EXPECT_EQ(lumpSumRates[8], c.ninth) << c.year;
  }
}

TEST_F(OptionSetsTest, TaxOptionsTurnTheSettlementIntoAKind) {
  struct Case {
    int stored, kind, companion;
  } cases[] = {{1, 1, 13}, {3, 1, 13}, {6, 1, 13}, {2, 2, 14}, {4, 2, 14}, {8, 2, 14}, {9, 9, 14}, {0, 0, 14}};
  for (const Case& c : cases) {
    {
      Direct file("Z5PAPV.DBF");
      SetParamInt(&file.ctx, 29, c.stored);
      SetParamStr(&file.ctx, 25, "T");
    }
    ASSERT_EQ(LoadPodatkiOptions(), 0);
    EXPECT_EQ(taxOptions.settlementKind, c.kind) << c.stored;
    EXPECT_EQ(taxOptions.settlementCompanion, c.companion) << c.stored;
    EXPECT_EQ(taxOptions.switch25, 'N');
    EXPECT_EQ(taxOptions.value16, 150);
    EXPECT_EQ(taxOptions.postingLimit, 100000.0);
    ASSERT_EQ(SavePodatkiOptions(), 0);
    Direct file("Z5PAPV.DBF");
    EXPECT_EQ(file.Int(29), c.kind);
    EXPECT_EQ(file.Text(25), "N");
  }
}

TEST_F(OptionSetsTest, ZusRateMovesOnceAndTheDirectoryBecomesCurrent) {
  struct Case {
    double rate2, rate56, loaded2;
  } cases[] = {{0, 2.0, 0.5}, {0.3, 2.0, 0.3}, {0, 1.5, 0}};
  for (const Case& c : cases) {
    {
      Direct file("Z5PAZU.DBF");
      SetParamDouble(&file.ctx, 2, c.rate2);
      SetParamDouble(&file.ctx, 56, c.rate56);
    }
    ASSERT_EQ(LoadZusOptions(), 0);
    EXPECT_DOUBLE_EQ(zusOptions.rate2, c.loaded2) << c.rate56;
    EXPECT_EQ(zusOptions.rate56, 0);
    ASSERT_EQ(SaveZusOptions(), 0);
    Direct file("Z5PAZU.DBF");
    EXPECT_EQ(file.Double(56), 0);
    EXPECT_DOUBLE_EQ(file.Double(2), c.loaded2);
  }
  EXPECT_EQ(zusOptions.rate52, 1.8);
  EXPECT_EQ(zusOptions.rate55, 1.67);

  EXPECT_EQ(ChangeToZusDirectory(), -1) << "no directory given";
  MakeDir("zus");
  std::string zus = EnvFromDiskPath(dir + "zus");   // without the closing backslash
  std::memset(zusOptions.directory, ' ', sizeof zusOptions.directory - 1);
  std::memcpy(zusOptions.directory, zus.data(), zus.size());
  ASSERT_EQ(ChangeToZusDirectory(), 0);
  ASSERT_EQ(LoadMagazynOptions(), 0);
  EXPECT_TRUE(Exists(dir + "zus/Z5PAMV.DBF"));
}

TEST_F(OptionSetsTest, WarehouseOptionsDefaultAndComeBack) {
  ASSERT_EQ(LoadMagazynOptions(), 0);
  EXPECT_EQ(Trimmed(warehouseOptions.issueName), "Dokument wydania nr");
  EXPECT_EQ(Trimmed(warehouseOptions.receiptName), "Dokument przyjęcia nr");
  EXPECT_EQ(warehouseOptions.roundPrices, 'T');
  EXPECT_EQ(warehouseOptions.checkCodeLength, 'T');
  EXPECT_EQ(warehouseOptions.goodsMark, 14);
  EXPECT_EQ(warehouseOptions.servicesMark, 14);
  EXPECT_EQ(warehouseOptions.cashRegisterPort, 1);
  warehouseOptions.margin[1] = 12.5;
  warehouseOptions.cashRegisterPort = 3;
  std::memcpy(warehouseOptions.warehouseCode, "MAG1", 4);
  ASSERT_EQ(SaveMagazynOptions(), 0);
  warehouseOptions = WarehouseOptions{};
  ASSERT_EQ(LoadMagazynOptions(), 0);
  EXPECT_EQ(warehouseOptions.margin[1], 12.5);
  EXPECT_EQ(warehouseOptions.cashRegisterPort, 3);
  EXPECT_EQ(Trimmed(warehouseOptions.warehouseCode), "MAG1");
}

TEST_F(OptionSetsTest, SetThatCannotBeOpenedFails) {
  MakeDir("firma/Z5PAPV.DBF");   // a directory where the table should be
  HeadlessSetScript("xxxx");      // whatever boxes the engine shows
  EXPECT_EQ(LoadPodatkiOptions(), -1);
  EXPECT_EQ(taxOptions.value16, 0) << "nothing read";
}

}  // namespace
