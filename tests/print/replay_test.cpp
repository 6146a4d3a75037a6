// PCL replay: rendered pages and soft-font text placed on PDF pages, checked
// with the poppler tools.
#include <cerrno>
#include <fstream>
#include <sstream>
#include "env/code_pages.h"
#include "platform/files.h"
#include "platform/process.h"
#include "print/graphic_render.h"
#include "print/pcl_replay.h"
#include "print/settings_dialog.h"
#include "tests/print/print_fixture.h"

namespace {

struct Gray {
  int width = 0, height = 0;
  std::string pixels;
  int At(int x, int y) const { return static_cast<unsigned char>(pixels[static_cast<size_t>(y) * width + x]); }
};

Gray ReadPgm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  Gray g;
  in >> magic >> g.width >> g.height >> maxValue;
  in.get();
  g.pixels.assign(static_cast<size_t>(g.width) * g.height, '\0');
  in.read(g.pixels.data(), static_cast<std::streamsize>(g.pixels.size()));
  return g;
}

bool HaveTool(const char* tool) {
  int code = -1;
  return PlatRunProgram(tool, {"-v"}, nullptr, &code) == PLAT_OK;
}

class ReplayTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    if (!HaveTool("pdftoppm") || !HaveTool("pdfinfo")) GTEST_SKIP() << "poppler-utils (pdftoppm, pdfinfo) is not installed";
    Printer.mode = 0;
    ASSERT_EQ(OpenSelectedPrinter({kPrintToFileEntry}, 0), 1);
    std::snprintf(Printer.outputFile, sizeof Printer.outputFile, "strona.pdf");
  }
  // Replays the PCL into the PDF and closes it.
  void Replay(const std::string& pcl) {
    FILE* file = std::fopen(Path("Wydruk.prn").c_str(), "w+b");
    std::fwrite(pcl.data(), 1, pcl.size(), file);
    ReplayPclFile(file);
    std::fclose(file);
    PlatPageDocClose(PrintJobState.document, false);
    PrintJobState.document = nullptr;
  }
  int Pages() {
    int code = -1;
    PlatRunProgram("sh", {"-c", "pdfinfo strona.pdf > info.txt"}, nullptr, &code);
    std::string info = ReadFile(Path("info.txt"));
    size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
  }
  Gray Image() {
    int code = -1;
    EXPECT_EQ(PlatRunProgram("pdftoppm", {"-r", "300", "-gray", "-singlefile", "strona.pdf", "strona"}, nullptr, &code),
              PLAT_OK);
    EXPECT_EQ(code, 0);
    return ReadPgm(Path("strona.pgm"));
  }
};

TEST_F(ReplayTest, RenderedPageLandsDotForDot) {
  WriteProgramFile("he12x32.fnt", BitmapFont(12, 32, [](int c, int) {
                     if (c == 'A') return std::string("\xFF\xF0", 2);
                     if (c == '#') return std::string("\xFC\x00", 2);   // the left half only
                     return std::string(2, '\0');
                   }));
  Printer.fontNo = 9;
  FILE* spool = std::tmpfile();
  std::fputs("A#\n\nA\n", spool);
  FILE* out = std::tmpfile();
  PrintJobState.output = out;
  ASSERT_EQ(RenderGraphicSpool(spool, out), 0);
  PrintJobState.output = nullptr;
  std::rewind(out);
  std::string pcl;
  for (int c; (c = std::fgetc(out)) != EOF;) pcl += static_cast<char>(c);
  std::fclose(out);
  std::fclose(spool);
  Replay(pcl);
  EXPECT_EQ(Pages(), 1);
  Gray g = Image();
  ASSERT_GE(g.width, 2480);
  struct Probe {
    int x, y;
    bool ink;
  } probes[] = {
      {6, 16, true},   {1, 1, true},    {14, 16, true},  {16, 30, true},   // A, then the left half of #
      {20, 16, false}, {22, 2, false},  {30, 16, false},                   // right half of #, after it
      {6, 48, false},                                                      // the empty second line
      {6, 80, true},   {14, 80, false},                                    // A on the third line
  };
  for (const Probe& p : probes) EXPECT_EQ(g.At(p.x, p.y) < 128, p.ink) << p.x << "," << p.y;
}

// Soft-font text: one font descriptor, 'A' as a 4 x 2 block, then the text.
std::string SoftTextPcl(const std::string& text) {
  std::string pcl = "\x1B)s64W";
  std::string descriptor(64, '\0');
  descriptor[7] = 40;    // baseline
  descriptor[9] = 24;
  descriptor[11] = 58;
  pcl += descriptor;
  pcl += "\x1B*c65E\x1B(s18W";
  std::string character(16, '\0');
  character[7] = 2;     // left offset
  character[9] = 30;    // top offset
  character[11] = 4;
  character[13] = 2;
  pcl += character + "\xF0\xF0";
  return pcl + text;
}

TEST_F(ReplayTest, SoftFontTextAndCopies) {
  Replay(SoftTextPcl("\x1B&l2X\x1B*p100x200YA\f"));
  EXPECT_EQ(Pages(), 2);
  Gray g = Image();
  // X + left offset, Y + baseline - top offset.
  EXPECT_LT(g.At(103, 211), 128);
  EXPECT_GT(g.At(106, 211), 128);
  EXPECT_GT(g.At(103, 213), 128);
}

TEST_F(ReplayTest, NothingWithoutAFontOrRaster) {
  Replay("text only\f");
  EXPECT_FALSE(PlatFileExists(Path("strona.pdf").c_str()));
}

TEST_F(ReplayTest, LineFeedPastTheBottomEndsThePage) {
  // Six lines an inch: 3508 / 50 lines fit on A4 at 300 dpi.
  std::string text;
  for (int i = 0; i < 80; i++) text += "A\r\n";
  Replay(SoftTextPcl(text.substr(0, 10 * 3)));
  EXPECT_FALSE(PlatFileExists(Path("strona.pdf").c_str()));   // no form feed, no page
  Replay(SoftTextPcl(text));
  EXPECT_EQ(Pages(), 1);
}

TEST_F(ReplayTest, SoftFontJobFromStartToPage) {
  // Graphic mode with soft fonts: the font goes out with the job's PCL and
  // the replay draws the text with it.
  WriteProgramFile("lport.fnt", SoftTextPcl(""));
  ASSERT_EQ(StartJob(0x100), 0);
  ASSERT_EQ(drukuj("AA"), 0);
  ASSERT_EQ(drukuj_form_feed(), 0);
  deinit_prn();
  EXPECT_EQ(Pages(), 1);
  Gray g = Image();
  EXPECT_LT(g.At(3, 10), 128);    // left offset 2, baseline 40 - top offset 30
  EXPECT_GT(g.At(7, 10), 128);
  EXPECT_LT(g.At(20, 11), 128);   // the next character 7/120 inch on: 17.5 dots
  EXPECT_GT(g.At(3, 13), 128);
}

// A PDF that cannot be written for a full disk, a refused folder or a
// read-only file system is told in words with the file named, once.
TEST_F(ReplayTest, FullDiskOrRefusedFolderIsToldWithTheFile) {
  const std::pair<int, const char*> cases[] = {
      {ENOSPC, "Brak miejsca na dysku."},
      {EACCES, "Brak uprawnień do zapisu."},
      {EROFS, "System plików tylko do odczytu."},
  };
  WriteProgramFile("lport.fnt", SoftTextPcl(""));
  for (const auto& [errnoValue, cause] : cases) {
    SCOPED_TRACE(cause);
    ASSERT_EQ(OpenSelectedPrinter({kPrintToFileEntry}, 0), 1);
    std::snprintf(Printer.outputFile, sizeof Printer.outputFile, "strona.pdf");
    RecordingScreenHook screen;
    PlatSetWriteFailure(errnoValue, "/strona.pdf");
    ASSERT_EQ(StartJob(0x100), 0);
    ASSERT_EQ(drukuj("AA"), 0);
    drukuj_form_feed();
    deinit_prn();
    PlatSetWriteFailure(0, nullptr);
    std::vector<std::string> told;
    for (const auto& shown : screen.shown)
      if (shown.what != "notice") told.push_back(MazToUtf8Text(shown.text.c_str()));
    EXPECT_EQ(told, std::vector<std::string>{std::string("Wydruk nie został zapisany do zbioru\nstrona.pdf\n") + cause});
  }
}

TEST_F(ReplayTest, DataRunningPastTheFileIsSkipped) {
  struct Case {
    const char* what;
    std::string pcl;
  } cases[] = {
      {"glyph descriptor", SoftTextPcl("").substr(0, 6 + 64) + "\x1B*c65E\x1B(s18W" + std::string(10, '\xF0')},
      {"glyph raster", SoftTextPcl("").substr(0, 6 + 64) + "\x1B*c65E\x1B(s40W" + std::string(20, '\0')},
      {"font descriptor", std::string("\x1B)s64W") + std::string(30, '\0')},
      {"raster row", std::string("\x1B*t300R\x1B*b0M\x1B*b500W") + std::string(8, '\0')},
      {"command at the end", std::string("abc\x1B*")},
  };
  for (const Case& c : cases) {
    Replay(c.pcl);
    EXPECT_FALSE(PlatFileExists(Path("strona.pdf").c_str())) << c.what;
  }
  // A glyph whose raster is shorter than its size says is left out; the page still prints.
  std::string shortGlyph(16, '\0');
  shortGlyph[11] = 4;    // 4 x 2 dots need two bytes, one follows
  shortGlyph[13] = 2;
  Replay(SoftTextPcl("").substr(0, 6 + 64) + "\x1B*c66E\x1B(s17W" + shortGlyph + "\xF0" +
         SoftTextPcl("\x1B*p100x200YAB\f").substr(6 + 64));
  EXPECT_EQ(Pages(), 1);
  EXPECT_LT(Image().At(103, 211), 128);
}

}  // namespace
