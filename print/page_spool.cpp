#include "print/page_spool.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "env/dates.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "platform/files.h"
#include "platform/screen_hook.h"
#include "print/char_output.h"
#include "print/page_viewer.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/window4.h"

namespace {

constexpr int kMsgSaveToArchive = 50071;
constexpr int kMsgNoArchive = 50072;
constexpr int kMsgChecksum = 50073;
constexpr int kMsgPageNumber = 50074;
constexpr int kMsgPageWidth = 50075;
constexpr int kMsgPageHeight = 50076;
constexpr int kMsgAccessDenied = 50077;
constexpr int kMsgOpen = 50078;
constexpr int kMsgWrite = 50080;
constexpr int kMsgRead = 50081;
constexpr int kMsgRename = 50082;
constexpr int kLogSpoolName = 20;
constexpr int kLogSpoolOpen = 22;
constexpr int kLogNoSpoolName = 81;
constexpr int kSpoolNames = 10000;

struct SpoolContext {
  std::string name;
  PlatFile file = PLAT_NO_FILE;
  PageFileHeader header{};
  long recordSize = 0;
  bool open = false;
  bool notesAllowed = true;
};
SpoolContext Spool;

void FileAlarm(int message) { ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, EnvFindString(message)); }
void OpenAlarm(PlatResult r) { FileAlarm(r == PLAT_ACCESS ? kMsgAccessDenied : kMsgOpen); }

void Put16(unsigned char* at, int value) {
  at[0] = static_cast<unsigned char>(value & 0xFF);
  at[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}
int16_t Get16(const unsigned char* at) { return static_cast<int16_t>(at[0] | (at[1] << 8)); }

void EncodeHeader(const PageFileHeader& h, unsigned char* out) {
  std::memset(out, 0, PAGE_HEADER_BYTES);
  std::memcpy(out + 16, h.title, sizeof h.title);
  out[16 + 69] = 0;
  std::memcpy(out + 86, h.dateText, sizeof h.dateText);
  out[86 + 69] = 0;
  Put16(out + 296, h.pageCount);
  Put16(out + 298, h.width);
  Put16(out + 300, h.height);
  Put16(out + 302, h.fixedGrid);
}

void DecodeHeader(const unsigned char* in, PageFileHeader* h) {
  *h = PageFileHeader{};
  std::memcpy(h->title, in + 16, sizeof h->title);
  h->title[69] = 0;
  std::memcpy(h->dateText, in + 86, sizeof h->dateText);
  h->dateText[69] = 0;
  h->pageCount = Get16(in + 296);
  h->width = Get16(in + 298);
  h->height = Get16(in + 300);
  h->fixedGrid = Get16(in + 302);
}

long RecordSize(const PageFileHeader& h) { return 2L * h.width * h.height + PAGE_RECORD_HEAD; }
uint64_t PageOffset(int pageNo) { return PAGE_HEADER_BYTES + static_cast<uint64_t>(pageNo - 1) * Spool.recordSize; }

int WriteHeader() {
  unsigned char bytes[PAGE_HEADER_BYTES];
  EncodeHeader(Spool.header, bytes);
  if (PlatFileWrite(Spool.file, 0, bytes, sizeof bytes) != PLAT_OK) {
    FileAlarm(kMsgWrite);
    return -1;
  }
  return 0;
}

void DropSpool() {
  if (Spool.file != PLAT_NO_FILE) PlatFileClose(Spool.file);
  if (!Spool.name.empty()) PlatFileDelete(Spool.name.c_str());
  const bool notes = Spool.notesAllowed;
  Spool = SpoolContext{};
  Spool.notesAllowed = notes;
}

// One page read back: its numbers and both layers (w x h each).
struct SpoolPage {
  int width = 0, height = 0, lineFeeds = 0, leftMargin = 0;
  std::vector<char> text, bold;
};

int ReadPage(int pageNo, SpoolPage* page) {
  if (pageNo < 1 || pageNo > Spool.header.pageCount) {
    FileAlarm(kMsgPageNumber);
    return -1;
  }
  unsigned char head[PAGE_RECORD_HEAD];
  size_t done = 0;
  if (PlatFileRead(Spool.file, PageOffset(pageNo), head, sizeof head, &done) != PLAT_OK || done != sizeof head) {
    FileAlarm(kMsgRead);
    return -1;
  }
  page->width = Get16(head);
  page->height = Get16(head + 2);
  page->lineFeeds = Get16(head + 4);
  page->leftMargin = Get16(head + 6);
  const int16_t checksum = Get16(head + 8);
  if (page->width < 0 || page->width > Spool.header.width) {
    FileAlarm(kMsgPageWidth);
    return -1;
  }
  if (page->height < 0 || page->height > Spool.header.height) {
    FileAlarm(kMsgPageHeight);
    return -1;
  }
  const size_t area = static_cast<size_t>(Spool.header.width) * Spool.header.height;
  const size_t used = static_cast<size_t>(page->width) * page->height;
  std::vector<char> layers(2 * area);
  if (PlatFileRead(Spool.file, PageOffset(pageNo) + PAGE_RECORD_HEAD, layers.data(), layers.size(), &done) !=
          PLAT_OK ||
      done != layers.size()) {
    FileAlarm(kMsgRead);
    return -1;
  }
  page->text.assign(layers.begin(), layers.begin() + static_cast<long>(used));
  page->bold.assign(layers.begin() + static_cast<long>(area), layers.begin() + static_cast<long>(area + used));
  int16_t sum = 0;
  for (size_t i = 0; i < used; i++)
    sum = static_cast<int16_t>(sum + static_cast<signed char>(page->text[i]) + static_cast<signed char>(page->bold[i]));
  if (sum != checksum) FileAlarm(kMsgChecksum);
  return 0;
}

// Shows the spool page by page: 0 after F2, 1 after Esc.
int ViewSpool(const char* title) {
  DeklCtx.highest = 0;
  int pageNo = 1;
  for (;;) {
    SpoolPage page;
    if (ReadPage(pageNo, &page) != 0) return 1;
    const int count = Spool.header.pageCount;
    int key = edytuj_memory(page.text.data(), page.bold.data(), page.height, page.width, title, pageNo, count, 1);
    const bool next = key == KEY_CTRL_PGDN && pageNo < count;
    const bool back = key == KEY_CTRL_PGUP && pageNo > 1;
    if (key == KEY_F2 || key == KEY_ESC || next || back) {
      PageEditPage out{&Spool.header, pageNo, page.text.data(), page.bold.data(),
                       static_cast<int16_t>(page.width), static_cast<int16_t>(page.height),
                       static_cast<int16_t>(page.lineFeeds), static_cast<int16_t>(page.leftMargin)};
      if (write_page_edit_file(out) != 0) key = KEY_ESC;
    } else {
      key = KEY_ESC;
    }
    if (key == KEY_F2) return 0;
    if (key == KEY_ESC) return 1;
    pageNo += next ? 1 : -1;
  }
}

// Pages from .. to (all when from < 0), once and once more for every copy
// the environment's counter still holds.
int PrintSpool(int fromPage, int toPage) {
  if (fromPage < 0) {
    fromPage = 1;
    toPage = Spool.header.pageCount;
  }
  Environment* env = EnvCurrent();
  for (;;) {
    for (int p = fromPage; p <= toPage; p++) {
      SpoolPage page;
      if (ReadPage(p, &page) != 0) return -1;
      if (drukuj_top_margin() != 0) return -1;
      if (print_lines(page.text.data(), page.bold.data(), page.width, 0, page.height, page.lineFeeds,
                      page.leftMargin) != 0)
        return -1;
      if (drukuj_form_feed() != 0) return -1;
    }
    const int taken = env->copiesLeft;
    env->copiesLeft = taken - 1;
    if (taken <= 0) return 0;
  }
}

bool ReadWhole(const char* name, std::string* data) {
  PlatFile f;
  PlatResult r = PlatFileOpen(name, PLAT_READ, PLAT_OPEN_EXISTING, &f);
  if (r != PLAT_OK) {
    OpenAlarm(r);
    return false;
  }
  uint64_t length = 0;
  bool ok = PlatFileLength(f, &length) == PLAT_OK;
  if (ok) {
    data->resize(static_cast<size_t>(length));
    size_t done = 0;
    ok = PlatFileRead(f, 0, data->data(), data->size(), &done) == PLAT_OK && done == data->size();
  }
  PlatFileClose(f);
  if (!ok) FileAlarm(kMsgRead);
  return ok;
}

// Packs the open spool into a new archive file; false after the alarm.
bool WriteArchive(const std::string& name) {
  const uint64_t end = PageOffset(Spool.header.pageCount + 1);
  std::string records(static_cast<size_t>(end - PAGE_HEADER_BYTES), '\0');
  size_t done = 0;
  if (PlatFileRead(Spool.file, PAGE_HEADER_BYTES, records.data(), records.size(), &done) != PLAT_OK ||
      done != records.size()) {
    FileAlarm(kMsgRead);
    return false;
  }
  unsigned char head[PAGE_HEADER_BYTES];
  EncodeHeader(Spool.header, head);
  const std::string packed = PackPageRuns(records);
  PlatFile f;
  PlatResult r = PlatFileOpen(name.c_str(), PLAT_READ_WRITE, PLAT_CREATE_NEW, &f);
  if (r != PLAT_OK) {
    OpenAlarm(r);
    return false;
  }
  bool ok = PlatFileWrite(f, 0, head, sizeof head) == PLAT_OK &&
            PlatFileWrite(f, PAGE_HEADER_BYTES, packed.data(), packed.size()) == PLAT_OK;
  PlatFileClose(f);
  if (!ok) {
    FileAlarm(kMsgWrite);
    PlatFileDelete(name.c_str());
  }
  return ok;
}

// The open spool as the archive `key` names; the earlier version becomes the
// backup, and comes back when the new one cannot be written.
int ArchiveSpool(const PageArchiveKey* key) {
  const std::string name = PageArchiveName(key, false);
  const std::string backup = PageArchiveName(key, true);
  const bool existed = PlatFileExists(name.c_str());
  if (existed) {
    if (PlatFileExists(backup.c_str())) PlatFileDelete(backup.c_str());
    if (PlatFileRename(name.c_str(), backup.c_str()) != PLAT_OK) {
      FileAlarm(kMsgRename);
      return -1;
    }
  }
  if (WriteArchive(name)) return 0;
  if (existed && PlatFileRename(backup.c_str(), name.c_str()) != PLAT_OK) FileAlarm(kMsgRename);
  return -1;
}

// A new spool holding the archive's pages; 0, or -1 after the alarm for an
// archive whose header or runs do not hold what it says.
int UnpackArchive(const std::string& name) {
  std::string file;
  if (!ReadWhole(name.c_str(), &file)) return -1;
  if (file.size() < static_cast<size_t>(PAGE_HEADER_BYTES)) {
    FileAlarm(kMsgRead);
    return -1;
  }
  PageFileHeader header;
  DecodeHeader(reinterpret_cast<const unsigned char*>(file.data()), &header);
  if (header.width <= 0) {
    FileAlarm(kMsgPageWidth);
    return -1;
  }
  if (header.height <= 0) {
    FileAlarm(kMsgPageHeight);
    return -1;
  }
  std::string records;
  if (!UnpackPageRuns(file.substr(PAGE_HEADER_BYTES), &records)) {
    FileAlarm(kMsgRead);
    return -1;
  }
  const size_t needed = static_cast<size_t>(header.pageCount) * static_cast<size_t>(RecordSize(header));
  if (header.pageCount < 0 || records.size() < needed) {
    FileAlarm(kMsgPageNumber);
    return -1;
  }
  if (open_tmp_edit_file(&header) != 0) return -1;
  if (PlatFileWrite(Spool.file, PAGE_HEADER_BYTES, records.data(), needed) != PLAT_OK) {
    FileAlarm(kMsgWrite);
    DropSpool();
    return -1;
  }
  return 0;
}

char KeyChar(int value) { return static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10); }

// After Esc in the viewer: keep the changes (0) unless the answer is Esc.
int AskKeep() {
  return ScreenQuestion(nullptr, EnvFindString(kMsgSaveToArchive)) == SCREEN_KEY_ESC ? -1 : 0;
}

}  // namespace

std::string PageArchiveName(const PageArchiveKey* key, bool backup) {
  char name[32];
  std::snprintf(name, sizeof name, "%c%c%5li%c.%c%02i", KeyChar(key->kind1), KeyChar(key->kind2),
                static_cast<long>(key->number), KeyChar(key->digit), backup ? '~' : 'B', key->year % 100);
  for (char* p = name; *p; p++)
    if (*p == ' ') *p = '0';
  return name;
}

std::string PackPageRuns(const std::string& data) {
  std::string out;
  auto flush = [&out](unsigned char value, int count) {
    if (count == 0) return;
    if (count == 1 && value != 0xFF) {
      out += static_cast<char>(value);
      return;
    }
    out += '\xFF';
    out += static_cast<char>(count);
    out += static_cast<char>(value);
  };
  int count = 0;
  unsigned char value = 0;
  for (unsigned char c : data) {
    if (count > 0 && (c != value || count == 254)) {
      flush(value, count);
      count = 0;
    }
    value = c;
    count++;
  }
  flush(value, count);
  return out;
}

bool UnpackPageRuns(const std::string& packed, std::string* data) {
  data->clear();
  for (size_t i = 0; i < packed.size(); i++) {
    const unsigned char c = static_cast<unsigned char>(packed[i]);
    if (c != 0xFF) {
      *data += static_cast<char>(c);
      continue;
    }
    if (i + 2 >= packed.size()) return false;
    const unsigned char count = static_cast<unsigned char>(packed[i + 1]);
    if (count == 0 || count == 0xFF) return false;
    data->append(count, packed[i + 2]);
    i += 2;
  }
  return true;
}

void SetPageHeaderDate(PageFileHeader* header) {
  std::snprintf(header->dateText, sizeof header->dateText, "Data opracowania - %s", FullDateQStr(get_cur_das(0)));
}

std::string PageSpoolName() { return Spool.open ? Spool.name : std::string(); }

int open_tmp_edit_file(PageFileHeader* header) {
  if (Spool.open) return 0;
  if (header->width <= 0) {
    FileAlarm(kMsgPageWidth);
    return -1;
  }
  if (header->height <= 0) {
    FileAlarm(kMsgPageHeight);
    return -1;
  }
  for (int i = 0; i < kSpoolNames; i++) {
    char name[32];
    std::snprintf(name, sizeof name, "tmp%d.$$$", i);
    if (PlatFileExists(name)) continue;
    PlatFile f;
    PlatResult r = PlatFileOpen(name, PLAT_READ_WRITE, PLAT_CREATE_NEW, &f);
    if (r == PLAT_EXISTS) {
      ErrLogMessage(EL_FORMAT, kLogSpoolOpen, "access(%s)", name);
      continue;
    }
    if (r != PLAT_OK) {
      if (r != PLAT_ACCESS) ErrLogMessage(0x881, kLogSpoolOpen, name);
      continue;
    }
    ErrLogMessage(0x1181, kLogSpoolName, name);
    const bool notes = Spool.notesAllowed;
    Spool = SpoolContext{};
    Spool.notesAllowed = notes;
    Spool.name = name;
    Spool.file = f;
    Spool.header = *header;
    if (Spool.header.pageCount < 0) Spool.header.pageCount = 0;
    Spool.recordSize = RecordSize(Spool.header);
    Spool.open = true;
    if (WriteHeader() != 0) {
      DropSpool();
      return -1;
    }
    return 0;
  }
  ErrLogMessage(0x1010, kLogNoSpoolName, "");
  return -1;
}

int write_page_edit_file(PageEditPage page) {
  if (!Spool.open) return -1;
  int height = page.height;
  if (page.header && page.header->fixedGrid && DeklCtx.highest != 0) height = DeklCtx.highest;
  if (page.width < 0 || page.width > Spool.header.width) {
    FileAlarm(kMsgPageWidth);
    return -1;
  }
  if (height < 0 || height > Spool.header.height) {
    FileAlarm(kMsgPageHeight);
    return -1;
  }
  if (page.pageNo < 1 || page.pageNo > INT16_MAX) {
    FileAlarm(kMsgPageNumber);
    return -1;
  }
  const size_t area = static_cast<size_t>(Spool.header.width) * Spool.header.height;
  const size_t used = static_cast<size_t>(page.width) * height;
  std::vector<unsigned char> record(static_cast<size_t>(Spool.recordSize), 0);
  int16_t sum = 0;
  for (size_t i = 0; i < used; i++) {
    record[PAGE_RECORD_HEAD + i] = static_cast<unsigned char>(page.text[i]);
    record[PAGE_RECORD_HEAD + area + i] = static_cast<unsigned char>(page.bold[i]);
    sum = static_cast<int16_t>(sum + static_cast<signed char>(page.text[i]) + static_cast<signed char>(page.bold[i]));
  }
  Put16(record.data(), page.width);
  Put16(record.data() + 2, height);
  Put16(record.data() + 4, page.lineFeeds);
  Put16(record.data() + 6, page.leftMargin);
  Put16(record.data() + 8, sum);
  if (page.pageNo > Spool.header.pageCount) {
    Spool.header.pageCount = static_cast<int16_t>(page.pageNo);
    if (page.header) page.header->pageCount = Spool.header.pageCount;
    if (WriteHeader() != 0) return -1;
  }
  if (PlatFileWrite(Spool.file, PageOffset(page.pageNo), record.data(), record.size()) != PLAT_OK) {
    FileAlarm(kMsgWrite);
    return -1;
  }
  return 0;
}

int close_tmp_edit_file(const PageArchiveKey* key, int status) {
  Spool.open = false;
  if (Spool.file == PLAT_NO_FILE) return -1;
  int result = 0;
  if (key && status == 0) result = ArchiveSpool(key);
  DropSpool();
  return result;
}

int edytuj_i_drukuj(PageFileHeader*, int, const char* title, int fromPage, int toPage) {
  if (!Spool.open) return -1;
  const int viewed = ViewSpool(title);
  if (viewed != 0) return viewed;
  return PrintSpool(fromPage, toPage);
}

int nieedytuj_i_drukuj(PageFileHeader*, int, int fromPage, int toPage) {
  if (!Spool.open) return -1;
  return PrintSpool(fromPage, toPage);
}

int edytuj_i_drukuj_archiwum(DbTable* table, const PageArchiveKey* key, const char* reportCode, const char* title,
                             int flags) {
  const std::string name = PageArchiveName(key, false);
  if (!PlatFileExists(name.c_str())) {
    ScreenMessageBox(SCREEN_BOX_INFO, title, EnvFindString(kMsgNoArchive));
    return 0;
  }
  Spool.notesAllowed = false;
  if (UnpackArchive(name) != 0) {
    Spool.notesAllowed = true;
    return -1;
  }
  int result = ViewSpool(title);
  int keep = 0;   // the operator's changes survive a failed print
  if (result == 0) {
    if (init_prn(table, reportCode, title, Spool.header.width, flags | (Spool.header.fixedGrid ? 0x4 : 0)) == 0)
      result = PrintSpool(-1, 0) == 0 ? 0 : -1;
    deinit_prn();
  } else {
    result = keep = AskKeep();
  }
  close_tmp_edit_file(key, keep);
  Spool.notesAllowed = true;
  return result;
}

int edytuj_i_drukuj_notes(const char* title, const char* reportCode, int keyChar, int keyYear) {
  if (!Spool.notesAllowed || !PrintJobState.idle || Spool.open) return 0;
  const int window = w4select(-1);
  Environment* env = EnvCurrent();
  const int caretRow = env->caretRow, caretColumn = env->caretColumn;

  PageFileHeader header{};
  std::snprintf(header.title, sizeof header.title, "Notes - %s", title ? title : "");
  SetPageHeaderDate(&header);
  header.width = 132;
  header.height = 60;
  header.pageCount = 1;
  PageArchiveKey key{3, static_cast<uint8_t>(keyChar), 0, 1, keyYear};
  const std::string name = PageArchiveName(&key, false);
  int ready;
  if (PlatFileExists(name.c_str())) {
    ready = UnpackArchive(name);
  } else {
    ready = open_tmp_edit_file(&header);
    if (ready == 0) {
      std::string blank(132 * 60, ' ');
      DeklCtx.highest = 0;
      ready = write_page_edit_file({&header, 1, blank.data(), blank.data(), 132, 60, 0, 0});
      if (ready != 0) close_tmp_edit_file(nullptr, -1);
    }
  }
  if (ready == 0) {
    int result = ViewSpool(header.title);
    if (result == 0) {
      if (init_prn(nullptr, reportCode, header.title, 132, Spool.header.fixedGrid ? 0x904 : 0x900) == 0)
        PrintSpool(-1, 0);
      deinit_prn();
    } else {
      result = AskKeep();
    }
    close_tmp_edit_file(&key, result);
  }
  w4select(window);
  w4cursor(caretRow, caretColumn);
  return 0;
}
