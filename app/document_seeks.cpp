#include "app/document_seeks.h"

#include <cstring>
#include <string>

#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "tables/masterdata_tables.h"
#include "tables/opening.h"
#include "tables/vat_tables.h"
#include "tables/warehouse_tables.h"

namespace {

constexpr int CONTRACTOR_CODE_WIDTH = 20;
constexpr int HEADER_NUMBER_WIDTH = 7;
// Tags from 1, as the catalogue defines them.
constexpr int GOODS_BY_CODE = 1;
constexpr int CONTRACTORS_BY_CODE = 2, CONTRACTORS_BY_NIP = 3;
constexpr int LINES_BY_HEADER = 4;

int SeekText(TableHandles& set, int tag, const char* key, int length) {
  d4tag_select(set.table, set.tag[tag - 1]);
  return d4seek_n(set.table, key, length);
}

}  // namespace

int SeekTowarByKod(const char* code) {
  return SeekText(Z5TOWA, GOODS_BY_CODE, code, static_cast<int>(std::strlen(code)));
}

int SeekTowarTmpByKod(const char* code) {
  return SeekText(TowaTmp, GOODS_BY_CODE, code, static_cast<int>(std::strlen(code)));
}

int SeekKontrahentByKod(const char* code) {
  std::string key(code);
  key.resize(CONTRACTOR_CODE_WIDTH, ' ');
  return SeekText(Z5KHNT, CONTRACTORS_BY_CODE, key.c_str(), CONTRACTOR_CODE_WIDTH);
}

int SeekKontrahentByNip(const char* nip) {
  return SeekText(Z5KHNT, CONTRACTORS_BY_NIP, nip, static_cast<int>(std::strlen(nip)));
}

int SeekZakupLinesByRek(long header) { return SeekNumber(Z5ZAKE, LINES_BY_HEADER, header, HEADER_NUMBER_WIDTH); }

int SeekWydanieLinesByRek(long header) { return SeekNumber(Z5MAWE, LINES_BY_HEADER, header, HEADER_NUMBER_WIDTH); }
