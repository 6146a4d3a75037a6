#include "sales/document_kinds.h"

#include <iterator>
#include <string>

#include "app/option_sets.h"
#include "env/code_pages.h"
#include "tables/catalogue.h"

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

}  // namespace

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
  if (kind < 1 || kind > static_cast<int>(std::size(kKindTitles))) return "";
  std::string& title = titles[kind - 1];
  if (title.empty()) title = Utf8ToMazText(kKindTitles[kind - 1]);
  return title.c_str();
}
