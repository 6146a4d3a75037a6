#include "sales/document_conversions.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_text.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/field_text.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int TAG_REK = 3;
constexpr int TAG_KIND_NUMBER = 5;   // STR(TYV,2,0)+UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)
constexpr int TAG_KIND_FREE = 7;     // STR(TYV,2,0)+UPPER(OSM)
constexpr int FREE_KEY = 20;

bool From2024() { return WorkingYear() >= FIRST_YEAR_2024; }

DbField* F(DbTable* t, const char* name) { return d4field(t, name); }

// Record numbers of the gathered documents of an invoice, collected before
// any is changed: clearing REK moves a record within the tag being walked.
std::vector<long> GatheredDocuments(DbTable* aux, long recFaktury) {
  std::vector<long> records;
  DbTag* tag = d4tag_selected(aux);
  d4tag_select(aux, Z5SPRZ_2.tag[TAG_REK]);
  for (int rc = d4seek_double(aux, static_cast<double>(recFaktury));
       rc == 0 && !d4eof(aux) && f4long(F(aux, "REK")) == recFaktury; rc = d4skip(aux, 1))
    records.push_back(d4recno(aux));
  d4tag_select(aux, tag);
  return records;
}

template <class Change>
void ChangeGathered(long recFaktury, Change change) {
  DbTable* aux = Z5SPRZ_2.table;
  if (!aux) return;
  for (long record : GatheredDocuments(aux, recFaktury)) {
    if (go_and_lock(aux, record) != 0) continue;
    change(aux);
    write_and_unlock(aux);
  }
  d4flush(aux);
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The partner's key in its tag, from the current header's TYM and NUK.
std::string PartnerKey(DbTable* h, int* tagIndex) {
  char kind[8];
  std::snprintf(kind, sizeof kind, "%2d", f4int(F(h, "TYM")));
  std::string nuk(f4ptr(F(h, "NUK")), f4len(F(h, "NUK")));
  if (f4char(F(h, "RE4")) == 'N') {
    *tagIndex = TAG_KIND_FREE;
    return kind + Upper(nuk.substr(0, FREE_KEY));
  }
  *tagIndex = TAG_KIND_NUMBER;
  int pre = f4len(F(h, "PRE")), nrv = f4len(F(h, "NRV")), pos = f4len(F(h, "POS"));
  nuk.resize(pre + 1 + nrv + 1 + pos, ' ');
  return kind + Upper(nuk.substr(0, pre)) + Upper(nuk.substr(pre + 1 + nrv + 1, pos)) + nuk.substr(pre + 1, nrv);
}

bool HasPartner(int kind, int tym) {
  if (kind == 2) kind = 1;
  switch (kind) {
    case 1: case 9: return tym == 6;
    case 6: return tym == 1 || tym == 2 || tym == 9;
    case 7: return true;
    default: return false;
  }
}

}  // namespace

std::string LinkNumber(DbTable* t, DbField* link) {
  std::string number = f4char(F(t, "RE4")) == 'N' ? std::string(f4ptr(F(t, "OSM")), f4len(F(t, "OSM")))
                                                  : std::string(NrDokumentuStalyQStr(F(t, "PRE"), F(t, "NRV"), F(t, "POS")));
  return number.substr(0, f4len(link));
}

void odlacz_dokumenty_zrodlowe(long recFaktury) {
  bool from2024 = From2024();
  ChangeGathered(recFaktury, [from2024](DbTable* t) {
    if (!from2024 && f4int(F(t, "TYV")) == 3) {
      f4assign_int(F(t, "KON"), 0);
      return;
    }
    f4assign_long(F(t, "REK"), 0);
    f4assign_int(F(t, "AKT"), 0);
    if (from2024) {
      f4assign_int(F(t, "KON"), 0);
      f4blank(F(t, "NKZ"));
      f4blank(F(t, "DAZ"));
    } else {
      f4assign_int(F(t, "TYM"), 0);
      f4blank(F(t, "NUK"));
      f4blank(F(t, "DAK"));
    }
  });
}

void aktualizuj_powiazania_zrodel(long recFaktury) {
  DbTable* h = Z5SPRZ.table;
  DbField* number = F(h, From2024() ? "NKZ" : "NUK");
  std::string text = LinkNumber(h, number);
  std::string date(f4ptr(F(h, "DAW")), f4len(F(h, "DAW")));
  bool from2024 = From2024();
  ChangeGathered(recFaktury, [&](DbTable* t) {
    f4assign_n(F(t, from2024 ? "NKZ" : "NUK"), text.data(), static_cast<unsigned>(text.size()));
    f4assign_n(F(t, from2024 ? "DAZ" : "DAK"), date.data(), static_cast<unsigned>(date.size()));
  });
}

int synchronizuj_powiazanie_proformy(int usun) {
  DbTable* h = Z5SPRZ.table;
  int tym = f4int(F(h, "TYM"));
  int kind = f4int(F(h, "TYV"));
  if (f4int(F(h, "AKT")) != 0 || tym == 0 || !HasPartner(kind, tym)) return 0;
  long record = d4recno(h);
  DbTag* tag = d4tag_selected(h);
  std::string buffer(d4record(h), d4record_width(h));
  int tagIndex = 0;
  std::string key = PartnerKey(h, &tagIndex);
  std::string number = LinkNumber(h, F(h, "NUK"));
  std::string date(f4ptr(F(h, "DAW")), f4len(F(h, "DAW")));
  d4tag_select(h, Z5SPRZ.tag[tagIndex]);
  int rc = d4seek_n(h, key.data(), static_cast<int>(key.size()));
  int result = 0;
  if (rc < 0) {
    result = -1;
  } else if (rc != 0) {
    Uwaga(Utf8ToMazText(kind == 6 || kind == 7 ? "Brak dokum.VAT" : "Brak dokum.PRO FORMA").c_str());
    result = 1;
  } else if (go_and_lock(h, d4recno(h)) != 0) {
    result = -1;
  } else {
    if (usun) {
      f4assign_int(F(h, "TYM"), 0);
      f4blank(F(h, "NUK"));
      f4blank(F(h, "DAK"));
    } else {
      f4assign_n(F(h, "NUK"), number.data(), static_cast<unsigned>(number.size()));
      f4assign_n(F(h, "DAK"), date.data(), static_cast<unsigned>(date.size()));
    }
    if (write_and_unlock(h) != 0) result = -1;
  }
  d4tag_select(h, tag);
  if (d4go(h, record) != 0) return -1;
  std::memcpy(d4record(h), buffer.data(), buffer.size());
  return result;
}
