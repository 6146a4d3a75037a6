// The first records of the common countries and tax offices tables: made
// when the table is created, from the tax authority's code lists compiled
// into the program (resources 901 and 902). A table that exists is never
// touched, so what an operator entered stays.
#include "tables/catalogue_seeds.h"

#include <string>
#include <vector>

#include "db/dbf_definition.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/form_text.h"

namespace {

constexpr int16_t RES_COUNTRIES = 901;     // "SUE<TAB>KKR<TAB>KRA"
constexpr int16_t RES_TAX_OFFICES = 902;   // "XML<TAB>NAZ"

std::vector<std::string> Columns(const std::string& line) {
  std::vector<std::string> columns;
  for (size_t start = 0;;) {
    size_t tab = line.find('\t', start);
    columns.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return columns;
    start = tab + 1;
  }
}

// Text cut to the field's width.
void Put(DbTable* t, const char* name, const std::string& text) {
  DbField* field = d4field(t, name);
  f4assign(field, text.substr(0, f4len(field)).c_str());
}

using Fill = void (*)(DbTable*, const std::vector<std::string>& columns, long number);

// Appends one record a line of the resource with `columns` columns fills,
// numbered from 1.
int Seed(DbTable* t, ResIdRoutine resource, size_t columns, Fill fill) {
  long number = 0;
  for (const std::string& line : ResourceLines(resource)) {
    std::vector<std::string> c = Columns(line);
    if (c.size() != columns) continue;
    if (d4append_start(t, 0) != 0) return -1;
    d4blank(t);
    fill(t, c, ++number);
    if (d4append(t) != 0) return -1;
  }
  if (d4flush(t) != 0) return -1;
  return d4top(t) < 0 ? -1 : 0;
}

void Country(DbTable* t, const std::vector<std::string>& c, long) {
  Put(t, "SUE", c[0]);
  Put(t, "KKR", c[1]);
  Put(t, "KRA", c[2]);
}

void TaxOffice(DbTable* t, const std::vector<std::string>& c, long number) {
  Put(t, "XML", c[0]);
  Put(t, "NAZ", c[1]);
  Put(t, "SKN", c[1]);
  f4assign_long(d4field(t, "KOD"), number);
}

}  // namespace

int OpenSeeded(const TableSpec& spec, int flags, int (*seed)(DbTable*)) {
  if (flags & OPEN_DBF_MUST_EXIST) return OpenTable(spec, NO_YEAR, flags);
  int found = OpenTable(spec, NO_YEAR, flags | OPEN_DBF_MUST_EXIST);
  if (found != 1) return found;
  int result = OpenTable(spec, NO_YEAR, flags);
  if (result == 0 && seed(spec.set->table) != 0) return -1;
  return result;
}

int SeedCountries(DbTable* t) { return Seed(t, [] { return RES_COUNTRIES; }, 3, Country); }

int SeedTaxOffices(DbTable* t) { return Seed(t, [] { return RES_TAX_OFFICES; }, 2, TaxOffice); }
