// The printer-dependent pieces of a document page: the character path, the
// original/copy mark and the centred title with the duplicate mark.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/document_print.h"
#include "app/option_values.h"
#include "env/code_pages.h"
#include "print/printer.h"
#include "tests/support/env_test.h"

namespace {

class DocumentPrintTest : public EnvTest {
 protected:
  void SetUp() override {
    EnvTest::SetUp();
    Printer = PrinterDefaults();
    std::memset(duplicateDate, 0, sizeof duplicateDate);
  }
  void TearDown() override {
    Printer = PrinterDefaults();
    std::memset(duplicateDate, 0, sizeof duplicateDate);
    optionOriginalCopyMark = 'N';
    optionBothMarksBefore2013 = 'T';
    EnvTest::TearDown();
  }
  void UsePrinter(int family, int orientation) {
    Printer.family = family;
    Printer.orientation = orientation;
  }
  // The title line of `width` characters over a line of dots.
  std::string Title(int width, const char* text1, const char* text2) {
    std::string line(static_cast<size_t>(width) + 4, '.');
    DuplikatQStr(line.data(), width, text1, text2);
    return line;
  }
};

TEST_F(DocumentPrintTest, CharacterPath) {
  struct Case {
    int family, orientation, character;
  } cases[] = {
      {PRN_EPSON9, 0, 1},    {PRN_IBM24, 0, 1}, {PRN_CANON, 0, 1},     {PRN_EPSON24, 1, 0},
      {PRN_HP_LASER, 0, 0},  {PRN_HP_DESKJET, 0, 0}, {PRN_HP_LASER, 1, 0},
  };
  for (const Case& c : cases) {
    UsePrinter(c.family, c.orientation);
    EXPECT_EQ(DrukarkaZnakowa(), c.character) << c.family << "/" << c.orientation;
  }
}

TEST_F(DocumentPrintTest, OriginalAndCopyMarks) {
  struct Case {
    char option52;
    int copies, year;
    char option49;
    int original;
    const char* mark;
  } cases[] = {
      {'N', 1, 2025, 'T', 1, ""},
      {'T', 1, 2025, 'T', 1, "ORYGINAŁ"},
      {'T', 2, 2010, 'N', 0, " KOPIA  "},
      {'T', 0, 2013, 'N', 1, "ORYGINAŁ / KOPIA"},
      {'T', 0, 2012, 'T', 0, "ORYGINAŁ / KOPIA"},
      {'T', 0, 2012, 'N', 1, ""},
  };
  for (const Case& c : cases) {
    optionOriginalCopyMark = c.option52;
    optionBothMarksBefore2013 = c.option49;
    Printer.copies = c.copies;
    env->settlementYear = c.year;
    char line[41];
    std::memset(line, '.', 40);
    line[40] = '\0';
    char* begins = OryginalKopiaQStr(line + 30, c.original);
    std::string mark = MazToUtf8Text(std::string(begins, line + 30).c_str());
    EXPECT_EQ(mark, c.mark) << c.option52 << c.copies << c.year << c.option49 << c.original;
    EXPECT_EQ(std::string(line + 30), "..........") << "nothing written past the end position";
  }
}

TEST_F(DocumentPrintTest, TitleLine) {
  UsePrinter(PRN_HP_LASER, 1);
  EXPECT_EQ(Title(40, "FAKTURA nr", "FV/1/2025"), std::string(10, '.') + "FAKTURA nr FV/1/2025" + std::string(14, '.'));
  std::memcpy(duplicateDate, "20250203", 8);
  EXPECT_EQ(Title(60, "FAKTURA nr", "FV/1/2025"),
            std::string(8, '.') + "FAKTURA nr FV/1/2025   DUPLIKAT z 03-02-2025" + std::string(12, '.'));
  Printer.language = 1;
  EXPECT_EQ(Title(60, "INVOICE", "FV/1/2025"),
            std::string(7, '.') + "INVOICE FV/1/2025   DUPLICATE from 03-02-2025" + std::string(12, '.'));

  // On the character path the title is printed at normal pitch: it takes
  // width / 80 columns of the condensed line a character (25 x 136 / 80 = 42).
  Printer.language = 0;
  std::memset(duplicateDate, ' ', 8);
  UsePrinter(PRN_EPSON9, 0);
  std::string title = "\x1BP FAKTURA nr FV/1/2025 \x0F";
  EXPECT_EQ(Title(136, "FAKTURA nr", "FV/1/2025"),
            std::string(47, '.') + title + std::string(136 + 4 - 47 - title.size(), '.'));
  UsePrinter(PRN_IBM9, 0);
  title = "\x12 FAKTURA nr FV/1/2025 \x0F";
  EXPECT_EQ(Title(80, "FAKTURA nr", "FV/1/2025"), std::string(28, '.') + title + std::string(84 - 28 - title.size(), '.'));
}

TEST_F(DocumentPrintTest, TitleWiderThanTheLineIsCutAtItsEnd) {
  std::string longText(70, 'X');
  UsePrinter(PRN_EPSON9, 0);
  std::string line = Title(30, longText.c_str(), "");
  EXPECT_EQ(line.substr(0, 30), "." + ("\x1BP " + longText).substr(0, 29));
  EXPECT_EQ(line.substr(30), "....");
  UsePrinter(PRN_HP_LASER, 0);
  line = Title(30, longText.c_str(), nullptr);
  EXPECT_EQ(line, std::string(30, 'X') + "....");
}

}  // namespace
