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

// A standard number read back from a link: its prefix, number and suffix.
struct NumberParts {
  std::string prefix, digits, suffix;
};
struct NumberWidths {
  size_t prefix, digits, suffix;
};

NumberWidths WidthsOf(DbTable* t) { return {f4len(F(t, "PRE")), f4len(F(t, "NRV")), f4len(F(t, "POS"))}; }

std::string WithoutBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool Digits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool Fits(const NumberParts& p, const NumberWidths& w) {
  return p.prefix.size() <= w.prefix && Digits(p.digits) && p.digits.size() <= w.digits &&
         std::stol(p.digits) > 0 && p.suffix.size() <= w.suffix;
}

// The fixed width: the prefix, "/" (a blank for no prefix), the number
// right-aligned, "/" (a blank for no suffix), the suffix; the suffix's
// blanks may be cut.
bool ReadFixed(std::string text, const NumberWidths& w, NumberParts* out) {
  text.erase(text.find_last_not_of(' ') + 1);
  size_t afterNumber = w.prefix + 1 + w.digits;
  if (text.size() < afterNumber || text.size() > afterNumber + 1 + w.suffix) return false;
  NumberParts p{WithoutBlanks(text.substr(0, w.prefix)), text.substr(w.prefix + 1, w.digits),
                text.size() > afterNumber + 1 ? text.substr(afterNumber + 1) : ""};
  // A blank part may stand with its "/" too.
  auto separator = [](char c, const std::string& part) { return c == '/' || (c == ' ' && part.empty()); };
  if (!separator(text[w.prefix], p.prefix)) return false;
  if (text.size() > afterNumber && !separator(text[afterNumber], p.suffix)) return false;
  if (p.digits.back() == ' ') return false;
  p.digits = WithoutBlanks(p.digits);
  if (!Fits(p, w)) return false;
  *out = p;
  return true;
}

// As typed: "prefix/number/suffix", "prefix/number", "number/suffix" or the
// number alone.
bool ReadTyped(const std::string& text, const NumberWidths& w, NumberParts* out) {
  std::vector<std::string> parts;
  for (size_t start = 0;;) {
    size_t slash = text.find('/', start);
    parts.push_back(WithoutBlanks(text.substr(start, slash == std::string::npos ? std::string::npos : slash - start)));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  NumberParts p;
  if (parts.size() == 1) {
    p.digits = parts[0];
  } else if (parts.size() == 3) {
    p = {parts[0], parts[1], parts[2]};
  } else if (parts.size() == 2 && Digits(parts[1])) {
    p = {parts[0], parts[1], ""};
  } else if (parts.size() == 2) {
    p = {"", parts[0], parts[1]};
  } else {
    return false;
  }
  if ((parts.size() == 3 && (p.prefix.empty() || p.suffix.empty())) || !Fits(p, w)) return false;
  *out = p;
  return true;
}

bool ReadLink(DbTable* t, const std::string& text, NumberParts* parts) {
  if (f4char(F(t, "RE4")) == 'N') return false;
  NumberWidths w = WidthsOf(t);
  return ReadFixed(text, w, parts) || ReadTyped(text, w, parts);
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

std::string StoredLinkNumber(DbTable* t, DbField* link, const std::string& typed) {
  NumberParts p;
  if (!ReadLink(t, typed, &p)) return typed;
  NumberWidths w = WidthsOf(t);
  // The prefix right-aligned as the number window keeps it, upper case as typed there.
  std::string prefix = std::string(w.prefix - p.prefix.size(), ' ') + Upper(p.prefix);
  std::string suffix = Upper(p.suffix);
  suffix.resize(w.suffix, ' ');
  std::string number =
      NrDokumentuStalyTekstQStr(prefix.c_str(), std::stol(p.digits), static_cast<int>(w.digits), suffix.c_str());
  return number.substr(0, f4len(link));
}

std::string PrintedLinkNumber(DbTable* t, DbField* link) {
  std::string stored(f4ptr(link), f4len(link));
  NumberParts p;
  if (!ReadLink(t, stored, &p)) return WithoutBlanks(stored);
  return NrDokumentuQStr(p.prefix.c_str(), -1, std::stol(p.digits), p.suffix.c_str(), -1);
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
