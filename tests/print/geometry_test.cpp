// Page geometry, the mode list and presets.
#include "tests/print/print_fixture.h"

namespace {

class GeometryTest : public PrintTest {};

TEST_F(GeometryTest, GraphicPageFromPaperFontAndResolution) {
  struct Case {
    int paper, orientation, fontNo, resolution;
    int width, columns, height, lines;
  } cases[] = {
      {0, 1, 9, 1, 2362, 196, 3425, 107},   // A4 portrait, 12 x 32 at 300 dpi
      {0, 2, 9, 1, 3425, 285, 2362, 73},    // the same turned
      {0, 1, 9, 0, 1181, 98, 1712, 53},     // 150 dpi
      {2, 1, 11, 1, 3425, 142, 4724, 102},  // A3, Courier 24 x 46
      {0, 1, 7, 1, 2362, 168, 3425, 137},   // a font outside the dialog's four
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "paper " << c.paper << " orientation " << c.orientation << " font "
                                    << c.fontNo << " resolution " << c.resolution);
    ResetPrinterState();
    Printer.mode = 0;   // "- Graficzny"
    Printer.paper = c.paper;
    Printer.orientation = c.orientation;
    Printer.fontNo = c.fontNo;
    Printer.resolution = c.resolution;
    Printer.family = PRN_EPSON9;
    ComputePageGeometry(0);
    EXPECT_EQ(Printer.family, PRN_HP_LASER);   // graphic output is always PCL
    EXPECT_EQ(Printer.pageWidthDots, c.width);
    EXPECT_EQ(Printer.columns, c.columns);
    EXPECT_EQ(Printer.pageHeightDots, c.height);
    EXPECT_EQ(Printer.lines, c.lines);
  }
}

TEST_F(GeometryTest, CharacterPathColumnsByPaperAndMode) {
  struct Case {
    int paper, mode, flags;
    int columns;
  } cases[] = {
      {2, 1, 0, 228},       // A3, character mode
      {1, 1, 0, 228},       // 15-inch fanfold, character mode
      {2, 0, 0x100, 186},   // A3, graphic mode with soft fonts
      {0, 1, 0, 132},       // A4
      {3, 0, 0x100, 132},   // 10-inch fanfold
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "paper " << c.paper << " mode " << c.mode << " flags " << c.flags);
    ResetPrinterState();
    PrintJobState.flags = c.flags;
    Printer.paper = c.paper;
    Printer.mode = c.mode;
    Printer.family = PRN_EPSON24;
    ComputePageGeometry(1);
    EXPECT_EQ(Printer.columns, c.columns);
    EXPECT_EQ(Printer.lines, 62);
    EXPECT_EQ(Printer.orientation, 0);
    // Soft-font text in graphic mode is HP LaserJet at 300 dpi.
    EXPECT_EQ(Printer.family, c.mode == 0 ? PRN_HP_LASER : PRN_EPSON24);
  }
}

TEST_F(GeometryTest, FinalPassTurnsMillimetresIntoCharacterMargins) {
  Printer.mode = 0;
  Printer.fontNo = 9;
  Printer.leftMarginMm = 254;   // one inch: 300 dots, 25 cells of 12
  Printer.topMarginMm = 127;    // half an inch: 150 dots, 4 lines of 32
  ComputePageGeometry(0);
  EXPECT_EQ(Printer.leftMargin, 0);
  ComputePageGeometry(1);
  EXPECT_EQ(Printer.leftMargin, 25);
  EXPECT_EQ(Printer.topMargin, 4);
}

TEST_F(GeometryTest, SoftFontCellComesFromHmiAndVmi) {
  Printer.mode = 0;
  Printer.fontNo = 21;   // lport.fnt: HMI 7.0, VMI 8.0
  ComputePageGeometry(0);
  // 7/120 inch and 8/48 inch at 300 dpi: 17.5 and 50 dots.
  EXPECT_EQ(Printer.columns, static_cast<int>(2362.2047 / 17.5));
  EXPECT_EQ(Printer.lines, static_cast<int>(3425.1968 / 50));
  EXPECT_STREQ(Printer.fontFile, "lport.fnt");
}

TEST_F(GeometryTest, ModeListAndItsTests) {
  BuildModeList(1);
  ASSERT_EQ(CountPrintModes(), 3);
  EXPECT_STREQ(PrintModes[2].text, "- Znakowy         ");
  Printer.mode = 2;
  EXPECT_TRUE(IsCharacterMode());
  EXPECT_TRUE(IsPrinterLanguageMode());
  Printer.mode = 1;
  EXPECT_FALSE(IsCharacterMode());
  EXPECT_TRUE(IsPrinterLanguageMode());
  Printer.mode = 3;   // past the list: device-context mode
  EXPECT_FALSE(IsCharacterMode());
  EXPECT_FALSE(IsPrinterLanguageMode());
  BuildModeList(0);
  EXPECT_EQ(CountPrintModes(), 2);
}

TEST_F(GeometryTest, GraphicSpoolDecision) {
  struct Case {
    int flags, family, mode;
    bool spool;
  } cases[] = {
      {1, PRN_EPSON9, 0, true},    {1, PRN_EPSON9, 1, false},  {1, PRN_IBM9, 2, false},
      {1, PRN_HP_LASER, 0, true},  {1, PRN_HP_LASER, 2, false}, {0, PRN_HP_LASER, 0, true},
      {0x100, PRN_HP_LASER, 0, false}, {0, PRN_EPSON24, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << c.flags << " family " << c.family << " mode " << c.mode);
    BuildModeList(c.flags);
    Printer.family = c.family;
    Printer.mode = c.mode;
    EXPECT_EQ(UsesGraphicSpool(c.flags) != 0, c.spool);
  }
}

TEST_F(GeometryTest, ModePresetsByFlagsAndFamily) {
  struct Case {
    int flags, family, mode, paper;
    int fontNo, resolution, orientation;
  } cases[] = {
      {0x800, PRN_HP_LASER, 0, 0, 2, 1, 1},
      {0x800 | 0x10000, PRN_HP_LASER, 0, 0, 22, 1, 1},
      {0x10000 | 0x40000, PRN_HP_LASER, 0, 0, 21, 1, 1},
      {1, PRN_EPSON9, 0, 0, 0, 1, 2},
      {1, PRN_HP_LASER, 1, 0, 6, 1, 2},
      {1, PRN_HP_DESKJET, 0, 2, 24, 0, 2},
      {1, PRN_HP_DESKJET, 0, 0, 0, 0, 2},
      {1, PRN_EPSON24, 1, 0, 7, 0, 2},
      {1, PRN_CANON, 0, 0, 3, 0, 2},
      {2, PRN_IBM9, 0, 0, 41, 1, 2},
      {2, PRN_HP_LASER, 0, 0, 39, 1, 2},
      {2, PRN_CANON, 0, 0, 40, 1, 2},
      {2, PRN_EPSON24, 0, 0, 40, 3, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << c.flags << " family " << c.family << " mode " << c.mode);
    ResetPrinterState();
    Printer.family = c.family;
    Printer.mode = c.mode;
    Printer.paper = c.paper;
    ApplyModePresets(c.flags);
    EXPECT_EQ(Printer.fontNo, c.fontNo);
    EXPECT_EQ(Printer.resolution, c.resolution);
    EXPECT_EQ(Printer.orientation, c.orientation);
  }
}

TEST_F(GeometryTest, IbmFamilies) {
  for (int family = 0; family < 10; family++) {
    Printer.family = family;
    EXPECT_EQ(test_ibm_printer() != 0, family >= 3 && family <= 5) << family;
  }
}

}  // namespace
