#include "app/document_kinds.h"

#include <initializer_list>
#include <iterator>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "app/document_text.h"
#include "app/option_sets.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"

namespace {

constexpr int FIRST_YEAR_OF_ADVANCE_KINDS = 2024;

// The numbering row of the options for a kind; -1 for a kind without one.
int NumberingRow(int kind, int rejestr) {
  switch (kind) {
    case 1: return DOC_FV;
    case 2: return DOC_RU;
    case 3: return DOC_FK;
    case 4: return DOC_RK;
    case 5: return DOC_BR;
    case 6: return DOC_PF;
    case 7: return DOC_MP;
    case 8: return DOC_FM;
    case 9: return rejestr == 2 && WorkingYear() < FIRST_YEAR_OF_ADVANCE_KINDS ? DOC_FZ : DOC_FP;
    case 10: return DOC_ZP;
    case 11: return DOC_FZ;
    default: return -1;
  }
}

const char* const kKindTitles[] = {
    "FAKTURA", "RACHUNEK", "KOREKTA", "RACHUNEK KORYGUJĄCY", "SPRZEDAŻ bezrachunkowa", "FAKTURA PRO FORMA",
    "FAKTURA mały podatnik", "FAKTURA marża", "FAKTURA do paragonu", "ZALICZKOWA do paragonu",
    "FAKTURA zaliczkowa", "FAKTURA końcowa", "FAKTURA zbiorcza", "FAKTURA końcowa parag.",
};

// The " Dopisz " kind menus before 2024; item n is kind n.
const char* const kAddItemsMain[] = {
    "1. FAKTURA                 -FV", "2. RACHUNEK                -RA", "3. FAKTURA KORYGUJĄCA      -FK",
    "4. RACHUNEK KORYGUJĄCY     -RK", "5. SPRZEDAŻ BEZRACHUNKOWA  -BR", "6. FAKTURA PRO FORMA       -PF",
    "7. FAKTURA mały podatnik   -MP", "8. FAKTURA marża           -FM", "9. FAKTURA do paragonu     -FP",
};
const char* const kAddItemsAux[] = {
    "1. FAKTURA                  -FV", "2. RACHUNEK                 -RA", "3. FAKTURA KORYGUJĄCA       -FK",
    "4. RACHUNEK KORYGUJĄCY      -RK", "5. SPRZEDAŻ BEZRACHUNKOWA   -BR", "6. FAKTURA PRO FORMA        -PF",
    "7. FAKTURA mały podatnik    -MP", "8. FAKTURA marża            -FM", "9. FAKTURA ZALICZKOWA       -FZ",
    "a. ZALICZKOWA do paragonu   -FP",
};

const char* const kMainKindCodes[] = {"FV", "RU", "FK", "RK", "BR", "PF", "MP",
                                      "FM", "FP", "ZP", "FZ", "KZ", "ZB", "KP"};
const char* const kAuxKindCodesBefore2024[] = {"FV", "RA", "FK", "RK", "BR", "PF", "MP", "FM", "FZ"};

const char* const kKindNames[] = {
    "Faktura", "Rachunek", "Faktura korygująca", "Rachunek korygujący", "Sprzedaż bezrachunkowa",
    "Faktura PRO FORMA", "Faktura mały podatnik", "Faktura marża", "Faktura do paragonu", "Faktura zaliczkowa",
    "Faktura zaliczkowa",
};

// A text of the list in the system's character set, converted once.
const char* Listed(const char* const* list, size_t count, int kind, std::string* converted) {
  if (kind < 1 || kind > static_cast<int>(count)) return "";
  std::string& text = converted[kind - 1];
  if (text.empty()) text = Utf8ToMazText(list[kind - 1]);
  return text.c_str();
}

}  // namespace

const char* nazwa_rodzaju_dokumentu(int kind, int rejestr) {
  static std::string names[std::size(kKindNames)];
  if (kind == 9 && rejestr == 2 && WorkingYear() < FIRST_YEAR_OF_ADVANCE_KINDS) kind = 11;
  return Listed(kKindNames, std::size(kKindNames), kind, names);
}

char* opis_numeru_dokumentu() {
  DbTable* h = Z5SPRZ.table;
  if (f4char(d4field(h, "RE4")) == 'N') return FldQStr(d4field(h, "OSM"), 3);
  return NrDokumentuFldQStr(d4field(h, "PRE"), d4field(h, "NRV"), d4field(h, "POS"));
}

char* opis_dokumentu_sprzedazy(int rejestr) {
  DbTable* h = Z5SPRZ.table;
  std::string name = nazwa_rodzaju_dokumentu(f4int(d4field(h, "TYV")), rejestr);
  std::string number = opis_numeru_dokumentu();
  std::string date = FldFullDateQStr(d4field(h, "DAW"));
  return TrimStringsToQStr_(name.c_str(), "nr", number.c_str(), "z", date.c_str());
}

const char* prefiks_numeru_rodzaju(int kind, int rejestr) {
  int row = NumberingRow(kind, rejestr);
  return row < 0 ? "" : salesOptions.numbering[row].prefix;
}

const char* sufiks_numeru_rodzaju(int kind, int rejestr) {
  int row = NumberingRow(kind, rejestr);
  return row < 0 ? "" : salesOptions.numbering[row].suffix;
}

const char* KindTitle(int kind) {
  static std::string titles[std::size(kKindTitles)];
  return Listed(kKindTitles, std::size(kKindTitles), kind, titles);
}

const char* KindCode(int kind, int rejestr, int link) {
  if (WorkingYear() < FIRST_YEAR_OF_ADVANCE_KINDS) {
    bool aux = rejestr == 2;
    const char* const* list = aux ? kAuxKindCodesBefore2024 : kMainKindCodes;
    int count = static_cast<int>(aux ? std::size(kAuxKindCodesBefore2024) : std::size(kMainKindCodes));
    return kind >= 1 && kind <= count ? list[kind - 1] : "";
  }
  if ((kind == 1 || kind == 7) && link >= 1 && link <= 3) kind = 11 + link;
  return kind >= 1 && kind <= static_cast<int>(std::size(kMainKindCodes)) ? kMainKindCodes[kind - 1] : "";
}

std::vector<const char*> AddKindItemsBefore2024(int rejestr) {
  if (rejestr == 2) return {std::begin(kAddItemsAux), std::end(kAddItemsAux)};
  return {std::begin(kAddItemsMain), std::end(kAddItemsMain)};
}

const char* NumberWindowTitle(int kind, int rejestr) {
  if (WorkingYear() >= FIRST_YEAR_OF_ADVANCE_KINDS) return KindTitle(kind);
  static std::string titles[2][std::size(kAddItemsAux)];
  const std::vector<const char*> items = AddKindItemsBefore2024(rejestr);
  if (kind < 1 || kind > static_cast<int>(items.size())) return "";
  std::string& title = titles[rejestr == 2][kind - 1];
  if (title.empty()) title = Utf8ToMazText(items[static_cast<size_t>(kind - 1)] + 3);
  return title.c_str();
}

const char* Sys(const char* utf8) {
  static std::map<std::string, std::string> kept;
  return kept.try_emplace(utf8, Utf8ToMazText(utf8)).first->second.c_str();
}

const char* const* CodeList(std::initializer_list<const char*> items) {
  static std::list<std::vector<const char*>> lists;
  std::vector<const char*>& list = lists.emplace_back(1, "  ");
  for (const char* item : items) list.push_back(Sys(item));
  list.push_back(nullptr);
  return list.data();
}

// From 2024 also the triangular supply of the second payer, as the header's
// own list has it.
const char* const* DeliveryList(bool from2024) {
  static const char* const* before = CodeList({"1. KRAJOWA", "2. WEWNĄTRZWSPÓLNOTOWA", "3. EKSPORT", "4. OSS"});
  static const char* const* after =
      CodeList({"1. KRAJOWA", "2. WDT", "3. EKSPORT", "4. OSS", "5. UE-usługi", "6. POZA KRAJEM",
                "7. WDT trójstronna", "8. ZWROT podróżnym", "9. WDT trójstr. drugi podatnik"});
  return from2024 ? after : before;
}
