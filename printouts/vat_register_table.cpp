// The printed VAT sales register: Z5ESPPyy built from the running register
// and printed as a tabulogram under the register's title.
#include <initializer_list>
#include <iterator>
#include <string>

#include "app/document_kinds.h"
#include "app/option_sets.h"
#include "db/db_scan.h"
#include "db/dbf_table.h"
#include "print/tabulogram.h"
#include "printouts/register_source.h"
#include "printouts/vat_register_print.h"
#include "sales/vat_register.h"
#include "tables/catalogue.h"
#include "tables/exchange_tables.h"
#include "tables/layouts.h"
#include "tables/wait_notice.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_MAIN_TITLE = 86, MSG_AUX_TITLE = 87;
constexpr int FIRST_YEAR_2024 = 2024;

struct Column {
  const char* heading1;
  const char* heading2;
  const char* field;
};

DbField** Slot(const char* name) {
  for (int i = 0; i < LAYOUT_Z5ESPP.fieldCount; i++)
    if (std::string(LAYOUT_Z5ESPP.fields[i].name) == name) return &Z5ESPP.field[i];
  return nullptr;
}

void Block(int block, std::initializer_list<Column> columns) {
  for (const Column& c : columns) DefineTabuColumn(Sys(c.heading1), Sys(c.heading2), Slot(c.field), TABU_CHOSEN, block);
}

// The lump-sum columns of the year, two to a block from `block`; the next
// free block.
int LumpSumBlocks(int block, int year) {
  static const Column from2022[] = {{"ryczałt", "3%", "RHA"},   {"ryczałt", "5,5%", "RPR"},
                                    {"ryczałt", "8,5%", "RUS"}, {"ryczałt", "8,5-12,5%", "RNA"},
                                    {"ryczałt", "10%", "RNI"},  {"ryczałt", "12%", "RKO"},
                                    {"ryczałt", "14%", "RZD"},  {"ryczałt", "15%", "RUI"},
                                    {"ryczałt", "17%", "RWZ"}};
  static const Column in2021[] = {{"ryczałt", "3%", "RHA"},         {"ryczałt", "5.5%", "RPR"},
                                  {"ryczałt", "8.5%", "RUS"},       {"ryczałt", "8.5% najem", "RNA"},
                                  {"ryczałt", "10%", "RNI"},        {"ryczałt", "12.5% najem", "RNW"},
                                  {"ryczałt", "15%", "RUI"},        {"ryczałt", "17%", "RWZ"}};
  static const Column before2021[] = {{"ryczałt", "8.5%", "RUS"}, {"ryczałt", "5.5%", "RPR"},
                                      {"ryczałt", "3%", "RHA"},   {"ryczałt", "17%", "RUI"},
                                      {"ryczałt", "20%", "RWZ"},  {"ryczałt", " 2%", "RNW"},
                                      {"ryczałt", "10%", "RNI"}};
  const Column* list = year >= 2022 ? from2022 : year == 2021 ? in2021 : before2021;
  size_t count = year >= 2022 ? std::size(from2022) : year == 2021 ? std::size(in2021) : std::size(before2021);
  for (size_t i = 0; i < count; i++)
    DefineTabuColumn(Sys(list[i].heading1), Sys(list[i].heading2), Slot(list[i].field), TABU_CHOSEN,
                     block + static_cast<int>(i / 2));
  return block + static_cast<int>((count + 1) / 2);
}

}  // namespace

void kolumny_rejestru_vat(TabuColumn* columns, int size, int year) {
  ResetTabuDefinition(columns, size);
  bool from2024 = year >= FIRST_YEAR_2024;
  Block(1, {{"l.p.", "", "LPO"}, {"numer", "dokumentu", "NUM"}});
  Block(2, {{"data wyst", "", "DAW"}, {"data sprz", "", "DAS"}});
  Block(3, {{"nazwa", "", "NA1"}, {"nazwa", "cd.", "NA2"}});
  Block(4, {{"adres", "", "AD1"}, {"adres", "cd.", "AD2"}});
  Block(5, {{"NIP", "", "NIP"}});
  if (from2024)
    Block(6, {{"wartość", "brutto", "BRU"}, {"zapłacono", "", "ZAP"}});
  else
    Block(6, {{"wartość", "brutto", "BRU"}});
  Block(7, {{"23,22 [%]", "netto", "NPO"}, {"23,22 [%]", "VAT", "VPO"}});
  Block(8, {{"8,7,4 [%]", "netto", "NP1"}, {"8,7,4 [%]", "VAT", "VP1"}});
  Block(9, {{" 5,3 [%]", "netto", "NP2"}, {" 5,3 [%]", "VAT", "VP2"}});
  int block;
  if (from2024) {
    Block(10, {{"0 [%]", "", "N0K"}, {"zwolniona", "", "WOL"}});
    Block(11, {{"nie podlega", "VAT", "NPD"}, {"bez stawki", "", "SBE"}});
    Block(12, {{"do paragonu", "netto", "PAN"}, {"do paragonu", "VAT", "PAV"}});
    Block(13, {{"WDT", "", "WDT"}, {"usługi UE", "", "WDU"}});
    Block(14, {{"eksport", "", "EXP"}});
    block = LumpSumBlocks(15, year);
  } else {
    Block(10, {{" 7,6 [%]", "netto", "NP3"}, {" 7,6 [%]", "VAT", "VP3"}});
    Block(11, {{"0 [%]", "kraj", "N0K"}, {"0 [%]", "eksport", "EXP"}});
    Block(12, {{"nie podlega", "VAT", "NPD"}, {"nie podlega", "z odlicz.", "NIO"}});
    Block(13, {{"bez stawki", "", "SBE"}, {"zwolniona", "", "WOL"}});
    block = LumpSumBlocks(14, year);
    Block(block++, {{"do paragonu", "netto", "PAN"}, {"do paragonu", "VAT", "PAV"}});
  }
  if (salesOptions.procedureMarks == 'T') Block(block++, {{"procedury", "", "PRO"}, {"GTU", "", "GTU"}});
  Block(block++, {{"oznaczenie", "", "OZN"}, {"data VAT", "", "DAV"}});
  Block(block, {{"uwagi", "", "UW1"}, {"uwagi", "cd.", "UW2"}});
}

int drukuj_tabele_rejestru(int rejestr) {
  kontekst_ewidencji* c = kontekstEwidencji;
  std::string subtitle = c ? FilterStatusText(c, 1) : std::string();
  static TabuColumn columns[TABU_MAX_ENTRIES];
  kolumny_rejestru_vat(columns, sizeof columns, WorkingYear());
  DbScanCtx scan{};
  x4init(&scan, Z5ESPP.table, nullptr, 0);
  return prn_tab_rap(columns, &scan, Z5ESPP.table, Z5ESPP.tag[0], rejestr == 1 ? MSG_MAIN_TITLE : MSG_AUX_TITLE,
                     subtitle.c_str(), nullptr, 0);
}

int drukuj_rejestr_vat() {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c) return -1;
  ZrodloRejestruVat source = RegisterSource(c);
  int window = w4select(-1);
  int notice = ShowWaitNotice();
  wiersz_rejestru_vat row{};
  int built = zbuduj_rejestr_vat(&row, &source);
  HideWaitNotice(notice);
  if (built == REGISTER_NOT_BUILT) {
    w4select(window);
    return -1;
  }
  int result = 0;
  if (built == 0)
    drukuj_tabele_rejestru(source.rejestr);
  else {
    result = -1;
    Uwaga(Sys("Błąd odczytu danych - rejestr nie został wydrukowany."));
  }
  w4select(window);
  if (d4close(Z5ESPP.table) != 0) result = -1;
  return result;
}
