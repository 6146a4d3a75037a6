// The page spool, print archives and their packing, printing for copies.
#include <cstring>
#include <fstream>
#include "platform/files.h"
#include "print/page_spool.h"
#include "print/patterns.h"
#include "tests/print/print_fixture.h"

namespace {

class SpoolTest : public PrintTest {
 protected:
  void TearDown() override {
    close_tmp_edit_file(nullptr, -1);
    PrintTest::TearDown();
  }
  static PageFileHeader Header(int width, int height) {
    PageFileHeader h{};
    std::strcpy(h.title, "Wydruk");
    h.width = static_cast<int16_t>(width);
    h.height = static_cast<int16_t>(height);
    return h;
  }
  // A page of width x height whose text layer is `fill` and bold layer blank.
  static int WritePage(PageFileHeader* h, int pageNo, int width, int height, char fill) {
    std::string text(static_cast<size_t>(width * height), fill);
    std::string bold(text.size(), ' ');
    return write_page_edit_file({h, pageNo, text.data(), bold.data(), static_cast<int16_t>(width),
                                 static_cast<int16_t>(height), 0, 0});
  }
  static int Get16(const std::string& s, size_t at) {
    return static_cast<int16_t>(static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8));
  }
  bool ShownText(const std::string& text) const {
    for (const auto& s : screen.shown)
      if (s.text.find(Utf8ToMazText(text.c_str())) != std::string::npos) return true;
    return false;
  }
};

TEST_F(SpoolTest, PageRecordLayoutAndPageCount) {
  PageFileHeader h = Header(132, 60);
  h.pageCount = 2;
  ASSERT_EQ(open_tmp_edit_file(&h), 0);
  const std::string name = PageSpoolName();
  EXPECT_EQ(name, "tmp0.$$$");
  PageFileHeader again = Header(10, 10);
  EXPECT_EQ(open_tmp_edit_file(&again), 0);   // once per printout
  EXPECT_EQ(PageSpoolName(), name);

  std::string text(80 * 20, 'A'), bold(80 * 20, ' ');
  bold[5] = 'B';
  ASSERT_EQ(write_page_edit_file({&h, 3, text.data(), bold.data(), 80, 20, 2, -1}), 0);
  EXPECT_EQ(h.pageCount, 3);
  const std::string file = ReadFile(Path(name));
  const size_t record = 2 * 132 * 60 + 10;
  EXPECT_EQ(record, 15850u);
  ASSERT_EQ(file.size(), 312 + 3 * record);
  EXPECT_EQ(Get16(file, 296), 3);
  EXPECT_EQ(Get16(file, 298), 132);
  EXPECT_EQ(Get16(file, 300), 60);
  EXPECT_EQ(file.substr(16, 6), "Wydruk");
  const size_t at = 312 + 2 * record;
  EXPECT_EQ(Get16(file, at), 80);
  EXPECT_EQ(Get16(file, at + 2), 20);
  EXPECT_EQ(Get16(file, at + 4), 2);
  EXPECT_EQ(Get16(file, at + 6), -1);
  EXPECT_EQ(Get16(file, at + 8), static_cast<int16_t>(1600 * 'A' + 1599 * ' ' + 'B'));
  const size_t area = 132 * 60;
  EXPECT_EQ(file.substr(at + 10, 1600), text);
  EXPECT_EQ(file.substr(at + 10 + 1600, area - 1600), std::string(area - 1600, '\0'));
  EXPECT_EQ(file.substr(at + 10 + area, 1600), bold);
  EXPECT_EQ(file.substr(at + 10 + area + 1600), std::string(area - 1600, '\0'));

  EXPECT_EQ(close_tmp_edit_file(nullptr, 0), 0);
  EXPECT_FALSE(PlatFileExists(Path(name).c_str()));
  EXPECT_EQ(close_tmp_edit_file(nullptr, 0), -1);
}

TEST_F(SpoolTest, PagesLargerThanTheSpoolAreRefused) {
  PageFileHeader h = Header(20, 5);
  ASSERT_EQ(open_tmp_edit_file(&h), 0);
  EXPECT_EQ(WritePage(&h, 1, 21, 5, 'x'), -1);
  EXPECT_TRUE(ShownText("Szerokość strony"));
  EXPECT_EQ(WritePage(&h, 1, 20, 6, 'x'), -1);
  EXPECT_TRUE(ShownText("Wysokość strony"));
  EXPECT_EQ(h.pageCount, 0);
}

TEST_F(SpoolTest, FixedGridPagesTakeTheHighestRowWritten) {
  PageFileHeader h = Header(79, 63);
  h.fixedGrid = 1;
  ASSERT_EQ(open_tmp_edit_file(&h), 0);
  DeklCtx.highest = 12;
  ASSERT_EQ(WritePage(&h, 1, 79, 63, 'x'), 0);
  DeklCtx.highest = 0;
  EXPECT_EQ(Get16(ReadFile(Path(PageSpoolName())), 312 + 2), 12);
}

TEST_F(SpoolTest, RunLengthPacking) {
  struct Case {
    std::string data, packed;
  } cases[] = {
      {std::string(300, 'A'), "\xFF\xFE" "A" "\xFF\x2E" "A"},
      {"\xFF", "\xFF\x01\xFF"},
      {"AB", "AB"},
      {"AAB", "\xFF\x02" "AB"},
      {std::string(254, '\0'), std::string("\xFF\xFE\0", 3)},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data.size());
    EXPECT_EQ(PackPageRuns(c.data), c.packed);
    std::string back;
    ASSERT_TRUE(UnpackPageRuns(c.packed, &back));
    EXPECT_EQ(back, c.data);
  }
  std::string out;
  for (const std::string& damaged : {std::string("A\xFF", 2), std::string("\xFF\x05", 2), std::string("\xFF\0A", 3)})
    EXPECT_FALSE(UnpackPageRuns(damaged, &out));
}

TEST_F(SpoolTest, ArchiveNames) {
  struct Case {
    PageArchiveKey key;
    const char* name;
    const char* backup;
  } cases[] = {
      {{4, 1, 0, 0, 2025}, "41000000.B25", "41000000.~25"},
      {{3, 12, 42, 11, 2006}, "3C00042B.B06", "3C00042B.~06"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageArchiveName(&c.key, false), c.name);
    EXPECT_EQ(PageArchiveName(&c.key, true), c.backup);
  }
}

TEST_F(SpoolTest, ArchiveKeepsThePreviousVersionAsBackup) {
  const PageArchiveKey key{4, 1, 0, 0, 2025};
  for (char fill : {'1', '2'}) {
    PageFileHeader h = Header(30, 4);
    ASSERT_EQ(open_tmp_edit_file(&h), 0);
    ASSERT_EQ(WritePage(&h, 1, 30, 4, fill), 0);
    ASSERT_EQ(close_tmp_edit_file(&key, 0), 0);
  }
  const std::string archive = ReadFile(Path("41000000.B25"));
  const std::string backup = ReadFile(Path("41000000.~25"));
  std::string records;
  ASSERT_TRUE(UnpackPageRuns(archive.substr(312), &records));
  ASSERT_EQ(records.size(), 2u * 30 * 4 + 10);
  EXPECT_EQ(records.substr(10, 120), std::string(120, '2'));
  ASSERT_TRUE(UnpackPageRuns(backup.substr(312), &records));
  EXPECT_EQ(records.substr(10, 120), std::string(120, '1'));
  EXPECT_FALSE(PlatFileExists(Path("tmp0.$$$").c_str()));

  // A spool closed with a failure status is not archived.
  PageFileHeader h = Header(30, 4);
  ASSERT_EQ(open_tmp_edit_file(&h), 0);
  ASSERT_EQ(WritePage(&h, 1, 30, 4, '3'), 0);
  ASSERT_EQ(close_tmp_edit_file(&key, -1), 0);
  EXPECT_EQ(ReadFile(Path("41000000.B25")), archive);
}

// A two-page spool printed to a character job: page texts in order.
class SpoolPrintTest : public SpoolTest {
 protected:
  std::string PrintedPages(int copies) {
    PageFileHeader h = Header(10, 2);
    EXPECT_EQ(open_tmp_edit_file(&h), 0);
    EXPECT_EQ(WritePage(&h, 1, 10, 2, '1'), 0);
    EXPECT_EQ(WritePage(&h, 2, 10, 2, '2'), 0);
    Printer.family = PRN_EPSON9;
    Printer.mode = 1;
    EXPECT_EQ(StartJob(0), 0);
    env->copiesLeft = copies;
    EXPECT_EQ(nieedytuj_i_drukuj(&h, 2, -1, 0), 0);
    std::string out = FinishJob(), pages;
    for (size_t at = out.find("1111111111"); at != std::string::npos;) {
      const size_t two = out.find("2222222222", at);
      pages += out[at];
      if (two == std::string::npos) break;
      pages += out[two];
      at = out.find("1111111111", two);
    }
    return pages;
  }
};

TEST_F(SpoolPrintTest, CopiesRepeatTheWholeRange) {
  EXPECT_EQ(PrintedPages(0), "12");
  EXPECT_EQ(PrintedPages(2), "121212");
}

class ArchiveTest : public SpoolTest {
 protected:
  // The archive file of `key` with its header and packed `records`.
  void WriteArchive(const PageFileHeader& h, const std::string& records, const char* name) {
    std::string file(312, '\0');
    auto put = [&file](size_t at, int v) {
      file[at] = static_cast<char>(v & 0xFF);
      file[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    };
    put(296, h.pageCount);
    put(298, h.width);
    put(300, h.height);
    WriteFile(Path(name), file + PackPageRuns(records));
  }
};

TEST_F(ArchiveTest, DamagedArchivesAreRefused) {
  const PageArchiveKey key{4, 1, 0, 0, 2025};
  std::string page = std::string("\x0A\x00\x02\x00\x00\x00\x00\x00\x00\x00", 10) + std::string(40, 'x');
  struct Case {
    int count, width, height;
    std::string packed;   // empty: the page packed
    const char* alarm;
  } cases[] = {
      {1, 0, 2, "", "Szerokość strony"},
      {1, 10, -2, "", "Wysokość strony"},
      {2, 10, 2, "", "Niewłaściwy numer strony"},
      {1, 10, 2, "x\xFF\x10", "Odczyt z pliku"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alarm);
    screen.shown.clear();
    PageFileHeader h = Header(c.width, c.height);
    h.pageCount = static_cast<int16_t>(c.count);
    WriteArchive(h, page, "41000000.B25");
    if (!c.packed.empty()) {
      std::string file = ReadFile(Path("41000000.B25")).substr(0, 312) + c.packed;
      WriteFile(Path("41000000.B25"), file);
    }
    const std::string before = ReadFile(Path("41000000.B25"));
    EXPECT_EQ(edytuj_i_drukuj_archiwum(nullptr, &key, "TST", "Archiwum", 0), -1);
    EXPECT_TRUE(ShownText(c.alarm));
    EXPECT_EQ(ReadFile(Path("41000000.B25")), before);
    EXPECT_EQ(PageSpoolName(), "");
  }
}

TEST_F(ArchiveTest, MissingArchiveIsReported) {
  const PageArchiveKey key{4, 1, 0, 0, 2025};
  EXPECT_EQ(edytuj_i_drukuj_archiwum(nullptr, &key, "TST", "Archiwum", 0), 0);
  ASSERT_FALSE(screen.shown.empty());
  EXPECT_EQ(screen.shown.back().title, "Archiwum");
  EXPECT_TRUE(ShownText("Brak zbioru archiwalnego !"));
}

TEST_F(ArchiveTest, NotesAreRefusedWhileAJobIsOpen) {
  PrintJobState.idle = false;
  EXPECT_EQ(edytuj_i_drukuj_notes("firma", "FIN", 3, 2026), 0);
  EXPECT_TRUE(screen.shown.empty());
  EXPECT_FALSE(PlatFileExists(Path("33000001.B26").c_str()));
  EXPECT_FALSE(PlatFileExists(Path("tmp0.$$$").c_str()));
}

}  // namespace

namespace {

// Notes and archives through the viewer on the headless screen.
class NotesTest : public PrintUiTest {
 protected:
  void TearDown() override {
    close_tmp_edit_file(nullptr, -1);
    PrintUiTest::TearDown();
  }
  // The first characters of page 1's text layer in an archive.
  std::string ArchivedText(const char* name, size_t count) {
    std::string records;
    EXPECT_TRUE(UnpackPageRuns(ReadFile(Path(name)).substr(312), &records));
    return records.size() >= 10 + count ? records.substr(10, count) : "";
  }
};

TEST_F(NotesTest, NotesKeptAfterEscAndTheAnswerToKeepThem) {
  // New notes: typed, left with Esc, kept ('t').
  ASSERT_EQ(HeadlessSetScript("abc{ESC}t"), 0);
  EXPECT_EQ(edytuj_i_drukuj_notes("firma", "FIN", 3, 2026), 0);
  EXPECT_EQ(ArchivedText("33000001.B26", 4), "abc ");
  EXPECT_EQ(PageSpoolName(), "");
  // Reopened: the text is there; more typed; Esc and Esc again drops the change.
  ASSERT_EQ(HeadlessSetScript("{END}z{ESC}{ESC}"), 0);
  EXPECT_EQ(edytuj_i_drukuj_notes("firma", "FIN", 3, 2026), 0);
  EXPECT_EQ(ArchivedText("33000001.B26", 4), "abc ");
  EXPECT_FALSE(std::ifstream(Path("33000001.~26")).good());
  // Kept this time: the earlier version becomes the backup.
  ASSERT_EQ(HeadlessSetScript("x{ESC}t"), 0);
  EXPECT_EQ(edytuj_i_drukuj_notes("firma", "FIN", 3, 2026), 0);
  EXPECT_EQ(ArchivedText("33000001.B26", 4), "xbc ");
  EXPECT_EQ(ArchivedText("33000001.~26", 4), "abc ");
  // The same archive shown by its key and kept as it is.
  const PageArchiveKey key{3, 3, 0, 1, 2026};
  ASSERT_EQ(HeadlessSetScript("{ESC}t"), 0);
  EXPECT_EQ(edytuj_i_drukuj_archiwum(nullptr, &key, "FIN", "Notes", 0), 0);
  EXPECT_EQ(ArchivedText("33000001.B26", 4), "xbc ");
}

}  // namespace
