#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/temp_strings.h"
#include "finance/payments.h"
#include "tables/cash_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int TAG_SOURCE = 1;      // STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)
constexpr int TAG_NUMBERING = 5;   // PRE+TYP+STR(TYK,1,0)+STR(YEAR(DAT),4,0)+STR(NUM,5,0), descending
constexpr int SOURCE_KEY_LENGTH = 12;
constexpr int DESK_CODE_WIDTH = 4;
constexpr int MSG_DELETE_CASH_ENTRIES = 20054;   // "Czy usunąć zapisy z kasy?"

DbField* Field(const char* name) { return d4field(Z5KASA.table, name); }

// Keeps the cash book's record, its buffer (an entry being edited) and its
// tag for the length of a scope.
class KeptPosition {
 public:
  KeptPosition()
      : table(Z5KASA.table),
        tag(d4tag_selected(table)),
        record(d4recno(table)),
        changed(d4changed(table, 0)),
        buffer(d4record(table), d4record(table) + d4record_width(table)) {}
  ~KeptPosition() {
    if (record > 0)
      d4go(table, record);
    else if (record == 0)
      d4append_start(table, 0);
    std::memcpy(d4record(table), buffer.data(), buffer.size());
    d4changed(table, changed);
    d4tag_select(table, tag);
  }
  KeptPosition(const KeptPosition&) = delete;
  KeptPosition& operator=(const KeptPosition&) = delete;

 private:
  DbTable* table;
  DbTag* tag;
  long record;
  int changed;
  std::vector<char> buffer;
};

const char* KindText(char kind) {
  static const std::string statement = Utf8ToMazText("Wyciąg");
  switch (kind) {
    case '1': return "KP";
    case '2': return "KW";
    case '3': return statement.c_str();
    case '4': return "Suma zaliczek";
    default: return "";
  }
}

}  // namespace

long OstatniNrKasy(int typ, int bank, int year) {
  KeptPosition kept;
  char key[DESK_CODE_WIDTH + 7 + 1];
  std::snprintf(key, sizeof key, "%-4.4s%c%1d%4d", salesOptions.cashDeskCode, static_cast<char>(typ), bank, year);
  d4tag_select(Z5KASA.table, Z5KASA.tag[TAG_NUMBERING]);
  if (d4seek_n(Z5KASA.table, key, static_cast<int>(std::strlen(key))) != 0) return 0;
  return f4long(Field("NUM"));
}

char* ZrodloKasyQStr() {
  std::string date = FullDateQStr(f4ptr(Field("DAT")));
  return PrintfQStr("*%s %ld %s", KindText(static_cast<char>(f4char(Field("TYP")))), f4long(Field("NUM")),
                    date.c_str());
}

void UsunZapisyKasy(int typ, int rok, int rekord) {
  DbTable* table = Z5KASA.table;
  DbTag* previous = d4tag_selected(table);
  d4tag_select(table, Z5KASA.tag[TAG_SOURCE]);
  if (d4seek_n(table, KluczTypRokRek(typ, rok, rekord), SOURCE_KEY_LENGTH) == 0 &&
      Pytanie(MSG_DELETE_CASH_ENTRIES) != 27) {
    // Deleted entries leave the tag, so they are gathered before any goes.
    std::vector<long> entries;
    for (int rc = 0; rc == 0 && !d4eof(table) && czy_zapis_kasy_dokumentu(typ, rok, rekord); rc = d4skip(table, 1))
      entries.push_back(d4recno(table));
    for (long entry : entries) {
      if (d4go(table, entry) != 0) break;
      d4delete(table);
    }
    d4flush(table);
  }
  d4tag_select(table, previous);
}
