// The table of archived data files and the matching of names against it.
#include <cctype>
#include <cstring>
#include <string>

#include "app/archive_backup.h"
#include "db/dbf_definition.h"

const ArchivedFile ArchivedFiles[ARCHIVED_FILES_COUNT] = {
    {"Z5DNWO.DBF", 0x02}, {"Z5ODUS.DBF", 0x02}, {"Z5ZAPO.DBF", 0x02}, {"Z5USKA.DBF", 0x02}, {"Z5KRAJ.DBF", 0x02},
    {"Z5KURS.DBF", 0x02}, {"Z5DEKL.DBF", 0x02}, {"Z5PELI.DBF", 0x02}, {"Z5LXML.DBF", 0x02},
    {"Z5TABE  .DBF", 0x03}, {"Z5PAPL  .DBF", 0x03},
    {"Z5PASS.DBF", 0x04}, {"Z5PAOS.DBF", 0x04}, {"Z5PABV.DBF", 0x04}, {"Z5TABW.DBF", 0x04}, {"Z5KATA.DBF", 0x04},
    {"Z5KAPA.DBF", 0x04},
    {"*.XML", 0x08},
    {"Z5VATR.DBF", 0x10}, {"Z5SRDN.DBF", 0x10}, {"Z5KHNT.DBF", 0x10}, {"Z5KONT.DBF", 0x10}, {"Z5OPIS.DBF", 0x10},
    {"Z5PAWL.DBF", 0x10}, {"Z5PRAC.DBF", 0x10}, {"Z5UMPR.DBF", 0x10}, {"Z5SAMO.DBF", 0x10}, {"Z5PRCE.DBF", 0x10},
    {"Z5WYPO.DBF", 0x10}, {"Z5USLU.DBF", 0x10}, {"Z5SKUP.DBF", 0x10}, {"Z5PACO.DBF", 0x10}, {"Z5PAOR.DBF", 0x10},
    {"Z5PAPO.DBF", 0x10}, {"Z5PAPV.DBF", 0x10}, {"Z5PAEL.DBF", 0x10}, {"Z5PASP.DBF", 0x10}, {"Z5PADE.DBF", 0x10},
    {"Z5PADV.DBF", 0x10}, {"Z5PAMV.DBF", 0x10}, {"Z5PAEV.DBF", 0x10}, {"Z5PAKF.DBF", 0x10}, {"Z5PAZU.DBF", 0x10},
    {"*.B  ", 0x10}, {"Z5NIP1.DBF", 0x10}, {"Z5NIP2.DBF", 0x10}, {"Z5NIP3.DBF", 0x10}, {"Z5PDRR.DBF", 0x10},
    {"Z5PDRE.DBF", 0x10}, {"Z5PDRN.DBF", 0x10}, {"Z5PDRZ.DBF", 0x10}, {"Z5PDRX.DBF", 0x10}, {"Z5PDRY.DBF", 0x10},
    {"Z5PDRA.DBF", 0x10}, {"Z5PDRB.DBF", 0x10}, {"Z5KASA.DBF", 0x10}, {"Z5ROZL.DBF", 0x10}, {"Z5VZDM.DBF", 0x10},
    {"Z5VZDK.DBF", 0x10}, {"Z5VZNM.DBF", 0x10}, {"Z5VZNK.DBF", 0x10}, {"*.XML", 0x10}, {"JPK*.DBF", 0x10},
    {"Z5DANE  .DBF", 0x11}, {"Z5STAK  .DBF", 0x11}, {"Z5WSPL  .DBF", 0x11}, {"Z5PITM  .DBF", 0x11},
    {"Z5PITK  .DBF", 0x11}, {"Z5RYCM  .DBF", 0x11}, {"Z5RYCK  .DBF", 0x11}, {"Z5RYTM  .DBF", 0x11},
    {"Z5RYTK  .DBF", 0x11}, {"Z5RYZM  .DBF", 0x11}, {"Z5RYZK  .DBF", 0x11}, {"Z5PILM  .DBF", 0x11},
    {"Z5PILK  .DBF", 0x11}, {"Z5REMA  .DBF", 0x11}, {"Z5VATM  .DBF", 0x11}, {"Z5VATK  .DBF", 0x11},
    {"Z5VATD  .DBF", 0x11}, {"Z5V7MC  .DBF", 0x11}, {"Z5V7KW  .DBF", 0x11}, {"Z5V7JK  .DBF", 0x11},
    {"Z5V7JM  .DBF", 0x11}, {"Z5VOSS  .DBF", 0x11}, {"Z5VUEK  .DBF", 0x11}, {"Z5VUEM  .DBF", 0x11},
    {"Z5V27K  .DBF", 0x11}, {"Z5V27M  .DBF", 0x11}, {"Z5VAT8  .DBF", 0x11}, {"Z5VAT9  .DBF", 0x11},
    {"Z5VA12  .DBF", 0x11}, {"Z5RYCZ  .DBF", 0x11}, {"Z5RYPR  .DBF", 0x11}, {"Z5STRY  .DBF", 0x11},
    {"Z5STRB  .DBF", 0x11}, {"Z5PENS  .DBF", 0x11}, {"Z5PESK  .DBF", 0x11}, {"Z5NIEO  .DBF", 0x11},
    {"Z5AMOR  .DBF", 0x11}, {"Z5UMOW  .DBF", 0x11}, {"Z5PZAL  .DBF", 0x11}, {"Z5PI11  .DBF", 0x11},
    {"Z5RASA  .DBF", 0x11}, {"Z5PRZE  .DBF", 0x11}, {"Z5DOWO  .DBF", 0x11}, {"Z5DOWE  .DBF", 0x11},
    {"Z5SPRZ  .DBF", 0x11}, {"Z5SPRO  .DBF", 0x11}, {"Z5SPRE  .DBF", 0x11}, {"Z5SPOM  .DBF", 0x11},
    {"Z5SPOE  .DBF", 0x11}, {"Z5ZAKU  .DBF", 0x11}, {"Z5ZAKE  .DBF", 0x11}, {"Z5TOWA  .DBF", 0x11},
    {"Z5PLEW  .DBF", 0x11}, {"Z5MAWY  .DBF", 0x11}, {"Z5MAWE  .DBF", 0x11}, {"Z5MAPR  .DBF", 0x11},
    {"Z5MAPE  .DBF", 0x11}, {"Z5ZFSS  .DBF", 0x11}, {"Z5PARE  .DBF", 0x11}, {"Z5PARO  .DBF", 0x11},
    {"Z5PARA  .DBF", 0x11}, {"Z5PAZR  .DBF", 0x11}, {"Z5SPZE  .DBF", 0x11}, {"Z5ZUSD  .DBF", 0x11},
    {"Z5ZUSP  .DBF", 0x11}, {"Z5ZUSR  .DBF", 0x11}, {"Z5ZUSS  .DBF", 0x11}, {"Z5ZUWS  .DBF", 0x11},
    {"Z5WSSK  .DBF", 0x11}, {"Z5NOTY  .DBF", 0x11},
};

char* PutArchiveYear(char* name, int year) {
  char* blanks = std::strstr(name, "  ");
  if (blanks) {
    blanks[0] = static_cast<char>('0' + year / 10 % 10);
    blanks[1] = static_cast<char>('0' + year % 10);
  }
  return name;
}

void PrepareArchivedFiles(ArchivedFile* table, int year, const char* mainOptionsName) {
  std::memcpy(table, ArchivedFiles, sizeof ArchivedFiles);
  for (int i = 0; i < ARCHIVED_FILES_COUNT; ++i) {
    if (table[i].flags & ARCH_PER_YEAR)
      SetDbfYear(table[i].name, year);
    else
      PutArchiveYear(table[i].name, year);
  }
  if (mainOptionsName && *mainOptionsName) {
    char* name = table[ARCHIVED_MAIN_OPTIONS_ROW].name;
    std::strncpy(name, mainOptionsName, ARCHIVED_NAME_SIZE - 1);
    name[ARCHIVED_NAME_SIZE - 1] = '\0';
  }
}

namespace {

int Upper(char c) { return std::toupper(static_cast<unsigned char>(c)); }

// A "*" skips name characters up to the first that equals the character
// after it; there is no going back.
bool PatternMatches(const char* pattern, const char* name) {
  const char* p = pattern;
  const char* n = name;
  while (*p) {
    if (*p == '*') {
      ++p;
      if (!*p) return true;
      while (*n && Upper(*n) != Upper(*p)) ++n;
      continue;
    }
    if (!*n || Upper(*p) != Upper(*n)) return false;
    ++p;
    ++n;
  }
  return *n == '\0';
}

}  // namespace

int MatchArchivePattern(const ArchivedFile* table, const char* name) {
  // Inner dots become byte 7, so a pattern's "." only meets the extension's.
  std::string copy = name ? name : "";
  const size_t lastDot = copy.rfind('.');
  for (size_t i = 0; i < copy.size(); ++i)
    if (copy[i] == '.' && i != lastDot) copy[i] = '\x07';
  for (int i = 0; i < ARCHIVED_FILES_COUNT; ++i)
    if (PatternMatches(table[i].name, copy.c_str())) return i;
  return -1;
}
