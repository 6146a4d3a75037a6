// The per-report settings record in Z5TABW.
#include <cstring>
#include <filesystem>
#include "db/dbf_records.h"
#include "print/settings_dialog.h"
#include "platform/files.h"
#include "print/tabu_table.h"
#include "tests/print/print_fixture.h"

namespace {

class SettingsTest : public PrintTest {};

TEST_F(SettingsTest, RoundTripKeepsBinaryBytesAndNegativeMargins) {
  Printer.printerHash = 0xA8FE2680;   // every byte above 0x7F but one
  Printer.leftMarginMm = -35;
  Printer.topMarginMm = -1;
  Printer.orientation = 2;
  Printer.pclTypeface = 4;
  Printer.output = 1;
  Printer.codePage = 3;
  Printer.bold = 1;
  Printer.printMethod = 1;
  Printer.paper = 2;
  Printer.fontNo = 11;
  Printer.option70 = 2;
  Printer.mode = 1;
  Printer.family = PRN_HP_DESKJET;
  Printer.formType = 1;
  Printer.headers = 1;
  Printer.summaries = 1;
  Printer.copies = 3;
  Printer.itemCount = 40;
  Printer.underlineStep = 5;
  Printer.leftMargin = 7;
  Printer.topMargin = 2;
  Printer.fromPage = 12;
  Printer.toPage = 34567;
  Printer.language = 1;
  Printer.amounts = 'O';
  SavePrintSettings(nullptr, "SUM");
  PrinterSettings saved = Printer;
  ResetPrinterState();
  LoadPrintSettings(nullptr, "SUM");
  EXPECT_EQ(Printer.printerHash, saved.printerHash);
  EXPECT_EQ(Printer.leftMarginMm, -35);
  EXPECT_EQ(Printer.topMarginMm, -1);
  EXPECT_EQ(Printer.orientation, 2);
  EXPECT_EQ(Printer.pclTypeface, 4);
  EXPECT_EQ(Printer.output, 1);
  EXPECT_EQ(Printer.codePage, 3);
  EXPECT_EQ(Printer.bold, 1);
  EXPECT_EQ(Printer.printMethod, 1);
  EXPECT_EQ(Printer.paper, 2);
  EXPECT_EQ(Printer.widePaper, 1);
  EXPECT_EQ(Printer.fontNo, 11);
  EXPECT_EQ(Printer.option70, 2);
  EXPECT_EQ(Printer.mode, 1);
  EXPECT_EQ(Printer.family, PRN_HP_DESKJET);
  EXPECT_EQ(Printer.formType, 1);
  EXPECT_EQ(Printer.headers, 1);
  EXPECT_EQ(Printer.summaries, 1);
  EXPECT_EQ(Printer.copies, 3);
  EXPECT_EQ(Printer.itemCount, 40);
  EXPECT_EQ(Printer.underlineStep, 5);
  EXPECT_EQ(Printer.leftMargin, 7);
  EXPECT_EQ(Printer.topMargin, 2);
  EXPECT_EQ(Printer.fromPage, 12);
  EXPECT_EQ(Printer.toPage, 34567);
  EXPECT_EQ(Printer.language, 1);
  EXPECT_EQ(Printer.amounts, 'O');

  // Saved again over the same record, not appended beside it.
  SavePrintSettings(nullptr, "SUM");
  ASSERT_EQ(open_tabu(0), 0);
  EXPECT_EQ(d4reccount(Z5TABW.table), 1);
  const unsigned char* re1 = reinterpret_cast<const unsigned char*>(f4ptr(Z5TABW.re1));
  ASSERT_EQ(d4top(Z5TABW.table), 0);
  EXPECT_EQ(re1[2], 0x80);
  EXPECT_EQ(re1[4], 0x26);
  EXPECT_EQ(re1[6], 0xDD);   // -35 as a 16-bit little-endian value
  EXPECT_EQ(re1[7], 0xFF);
  EXPECT_EQ(re1[18], 0xA8);
  close_tabu();
}

TEST_F(SettingsTest, ReportsAndTablesKeepTheirOwnRecords) {
  Printer.copies = 2;
  SavePrintSettings(nullptr, "SUM");
  Printer.copies = 5;
  SavePrintSettings(nullptr, "TAB");
  ResetPrinterState();
  LoadPrintSettings(nullptr, "SUM");
  EXPECT_EQ(Printer.copies, 2);
  LoadPrintSettings(nullptr, "TAB");
  EXPECT_EQ(Printer.copies, 5);

  // With a table, its alias names the record.
  DbfFieldDef fields[] = {{"NAZ", 'C', 10, 0}, {nullptr, 0, 0, 0}};
  table = d4create(&env->engine, "KONTR.DBF", fields, nullptr);
  ASSERT_NE(table, nullptr);
  Printer.copies = 7;
  SavePrintSettings(table, "SUM");
  LoadPrintSettings(nullptr, "SUM");
  EXPECT_EQ(Printer.copies, 2);
  LoadPrintSettings(table, "SUM");
  EXPECT_EQ(Printer.copies, 7);
  ASSERT_EQ(open_tabu(0), 0);
  ASSERT_EQ(d4seek(Z5TABW.table, "SUMKONTR       PARAMETR"), 0);
  close_tabu();
}

TEST_F(SettingsTest, StoredValuesAreClampedOnLoad) {
  Printer.fontNo = 0;
  Printer.family = 12;
  Printer.amounts = ' ';
  SavePrintSettings(nullptr, "SUM");
  ResetPrinterState();
  LoadPrintSettings(nullptr, "SUM");
  EXPECT_EQ(Printer.fontNo, 9);
  EXPECT_EQ(Printer.family, 0);
  EXPECT_EQ(Printer.amounts, 'P');
}

TEST_F(SettingsTest, ClampTable) {
  struct Case {
    int PrinterSettings::*field;
    int stored, loaded;
  } cases[] = {
      {&PrinterSettings::family, 12, 0},       {&PrinterSettings::family, 9, 9},
      {&PrinterSettings::paper, 4, 0},         {&PrinterSettings::orientation, 3, 1},
      {&PrinterSettings::leftMarginMm, 10000, 0}, {&PrinterSettings::leftMarginMm, 9999, 9999},
      {&PrinterSettings::topMarginMm, 12000, 0},  {&PrinterSettings::codePage, 4, 0},
      {&PrinterSettings::fontNo, 0, 9},        {&PrinterSettings::fontNo, 10, 10},
      {&PrinterSettings::rasterOption, 2, 0},  {&PrinterSettings::economode, 3, 0},
      {&PrinterSettings::option70, 3, 0},      {&PrinterSettings::option70, 2, 2},
  };
  for (const Case& c : cases) {
    ResetPrinterState();
    Printer.fontNo = 2;
    Printer.*c.field = c.stored;
    ClampPrinterSettings();
    EXPECT_EQ(Printer.*c.field, c.loaded) << "stored " << c.stored;
  }
}

TEST_F(SettingsTest, MissingRecordGivesTheDefaults) {
  Printer.copies = 9;
  Printer.family = PRN_EPSON9;
  Printer.fromPage = 4;
  LoadPrintSettings(nullptr, "NEW");
  EXPECT_EQ(Printer.copies, 0);
  EXPECT_EQ(Printer.family, PRN_HP_LASER);
  EXPECT_EQ(Printer.fromPage, 1);
  EXPECT_EQ(Printer.underlineStep, 1);
  EXPECT_EQ(Printer.amounts, 'P');
  // The first print of a report is laid out in the font its dialog shows
  // ("Helvet 12x32"), as every later one is.
  EXPECT_EQ(Printer.fontNo, 9);
  ComputePageGeometry(0);
  const int firstColumns = Printer.columns;
  Printer.fontNo = 9;
  ComputePageGeometry(0);
  EXPECT_EQ(firstColumns, Printer.columns);
}

TEST_F(SettingsTest, ToPageFollowsFromPage) {
  struct Case {
    int from, to, expected;
  } cases[] = {{8, 5, 8}, {8, 0, 0}, {3, 9, 9}};
  for (const Case& c : cases) {
    Printer.fromPage = c.from;
    Printer.toPage = c.to;
    KeepPageRange();
    EXPECT_EQ(Printer.toPage, c.expected) << c.from << " " << c.to;
  }
}

TEST_F(SettingsTest, TableLivesInThePrintSettingsDirectory) {
  env->separatePrintSettings = 'N';
  ASSERT_EQ(open_tabu(0), 0);
  EXPECT_EQ(d4num_fields(Z5TABW.table), 21);
  EXPECT_EQ(f4len(Z5TABW.naz), 30u);
  EXPECT_EQ(f4len(Z5TABW.re3), 20u);
  EXPECT_NE(Z5TABW.tag, nullptr);
  close_tabu();
  EXPECT_TRUE(PlatFileExists((PlatProgramDir() + "Z5TABW.DBF").c_str()));
  EXPECT_FALSE(PlatFileExists(Path("Z5TABW.DBF").c_str()));
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir));   // back where it was

  env->separatePrintSettings = 'T';
  ASSERT_EQ(open_tabu(0), 0);
  close_tabu();
  EXPECT_TRUE(PlatFileExists(Path("Z5TABW.DBF").c_str()));
}

}  // namespace
