// The page spool of a printout ("tmp%d.$$$" in the current directory): a
// 312-byte header and one record per character page with its text and bold
// layers; viewing it in the page editor, printing it for the copies counter,
// and print archives (the spool run-length packed under a name made from an
// archive key, the previous version kept as the '~' backup), among them the
// free-text notes page of a module.
#pragma once
#include <cstdint>
#include <string>

struct DbTable;

constexpr int PAGE_HEADER_BYTES = 312;
constexpr int PAGE_RECORD_HEAD = 10;

// In memory; written and read field by field at the file's offsets.
struct PageFileHeader {
  char title[70];       // terminated
  char dateText[70];    // "Data opracowania - %s"
  int16_t pageCount;
  int16_t width;        // W, characters
  int16_t height;       // H, rows
  int16_t fixedGrid;    // the pages come from the fixed 79 x 63 grid
};

struct PageArchiveKey {
  uint8_t kind1, kind2;
  int32_t number;
  int32_t digit;
  int32_t year;
};

// One page handed to the spool, by value.
struct PageEditPage {
  PageFileHeader* header;
  int pageNo;            // from 1
  const char* text;      // w x h
  const char* bold;      // w x h
  int16_t width, height;
  int16_t lineFeeds;     // before the page
  int16_t leftMargin;    // below 0: Printer.leftMargin
};

// 0 / -1; a second call while the spool is open answers 0 and does nothing.
int open_tmp_edit_file(PageFileHeader* header);
int write_page_edit_file(PageEditPage page);
// Ends the spool; with a key and status 0 stores it as a print archive first.
int close_tmp_edit_file(const PageArchiveKey* key, int status);
// 0 printed, 1 left with Esc, -1 error. Pages from .. to, all when from < 0.
int edytuj_i_drukuj(PageFileHeader* header, int pageCount, const char* title, int fromPage, int toPage);
int nieedytuj_i_drukuj(PageFileHeader* header, int pageCount, int fromPage, int toPage);
int edytuj_i_drukuj_archiwum(DbTable* table, const PageArchiveKey* key, const char* reportCode, const char* title,
                             int flags);
int edytuj_i_drukuj_notes(const char* title, const char* reportCode, int keyChar, int keyYear);

// The archive's file name and its backup's ("41000000.B25", "41000000.~25").
std::string PageArchiveName(const PageArchiveKey* key, bool backup);
// Run-length packing of the archive: FF count value for runs (count 1..254),
// other bytes as themselves. Unpacking answers false for a truncated run.
std::string PackPageRuns(const std::string& data);
bool UnpackPageRuns(const std::string& packed, std::string* data);
// "Data opracowania - " and the working date in full.
void SetPageHeaderDate(PageFileHeader* header);
// The open spool's file name, empty when none is open.
std::string PageSpoolName();
