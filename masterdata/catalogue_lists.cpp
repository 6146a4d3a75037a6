#include "masterdata/catalogue_lists.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "env/code_pages.h"

namespace {

constexpr int FIRST_YEAR_OF_RATE_LISTS = 2016;
constexpr int YEAR_OF_2021_RATES = 2021;
constexpr int FIRST_YEAR_OF_RTY = 2022;

// A list written in UTF-8, kept in the system's character set from its
// first use on.
class MenuList {
 public:
  MenuList(std::initializer_list<const char*> utf8) {
    size_t width = 0;
    for (const char* item : utf8) {
      texts_.push_back(Utf8ToMazText(item));
      width = std::max(width, texts_.back().size());
    }
    texts_.insert(texts_.begin(), std::string(width, ' '));
    for (const std::string& text : texts_) items_.push_back(text.c_str());
    items_.push_back(nullptr);
  }
  const char* const* items() const { return items_.data(); }

 private:
  std::vector<std::string> texts_;
  std::vector<const char*> items_;
};

}  // namespace

const char* const* ListaNaSprzedaz() {
  static const MenuList list{"1. OPODATKOWANĄ", "2. OPODATKOWANĄ+ZWOLNIONĄ", "3. ZWOLNIONĄ", "4. NIEOPODATKOWANĄ"};
  return list.items();
}

const char* const* ListaTypuZakupu() {
  static const MenuList list{"1. POZOSTAŁY", "2. INWESTYCYJNY", "3. INWESTYCYJNY W KOSZTY", "4. NIERUCHOMOŚĆ"};
  return list.items();
}

const char* const* ListaTypuPrzychodu() {
  static const MenuList list{"1. SPRZEDAŻ", "2. POZOSTAŁE", "3. WYN. W NAT."};
  return list.items();
}

const char* const* ListaStawekRyczaltu(int workingYear) {
  static const MenuList activities{"1. USŁUGA",      "2. PRODUKCJA",   "3. HANDEL",
                                   "4. USŁUGI INNE", "5. WOLNY ZAWÓD", "6. NIERUCHOMOŚĆ"};
  static const MenuList from2016{"1. 8.5 %", "2. 5.5 %", "3.   3 %", "4.  17 %", "5.  20 %", "6.  10 %", "7.   2 %"};
  static const MenuList of2021{"1. 8.5 %", "2. 5.5 %", "3.   3 %", "4.  15 %",
                               "5.  17 %", "6.  10 %", "7. 12.5 %", "8. 8.5 % najem"};
  static const MenuList from2022{"1.   3,0", "2.   5,5", "3.   8,5", "4. 8,5-12,5", "5.   10",
                                 "6.   12",  "7.   14",  "8.   15",  "9.   17"};
  if (workingYear >= FIRST_YEAR_OF_RTY) return from2022.items();
  if (workingYear == YEAR_OF_2021_RATES) return of2021.items();
  if (workingYear >= FIRST_YEAR_OF_RATE_LISTS) return from2016.items();
  return activities.items();
}

const char* const* ListaOznaczenGtu(int workingYear) {
  static const MenuList from2022{
      "1. napoje alkoholowe pow. 1,2%, mieszanki piwa pow. 0,5%",
      "2. benzyny, gazy, oleje napędowe, biopaliwa (art.103 ust. 5aa)",
      "3. oleje opałowe, smarowe i inne",
      "4. wyroby tytoniowe, płyn do e-papierosów, wyroby nowatorskie",
      "5. odpady, surowce wtórne, wraki",
      "6. urządzenia i materiały elektroniczne",
      "7. pojazdy samochodowe i części",
      "8. metale szlachetne oraz nieszlachetne",
      "9. produkty lecznicze oraz wyroby medyczne, spec. środki spożywcze",
      "a. budynki, budowle i grunty",
      "b. usługi przenoszenia uprawnień do emisji gazów cieplarnianych",
      "c. usługi niematerialne: doradcze, księgowe, prawne i in.",
      "d. usługi transportowe i gospodarki magazynowej",
      "e. BRAK",
  };
  static const MenuList before2022{
      "1. napoje alkoholowe - piwa, wina, napoje fermentowane",
      "2. benzyny, oleje, gaz płynny (art.103 ust. 5aa)",
      "3. oleje opałowe, oleje smarowe, pozostałe oleje",
      "4. wyroby tytoniowe, susz tytoniowy, płyn do e-papierosów",
      "5. odpady, surowce wtórne, wraki",
      "6. urządzenia elektroniczne oraz części i materiały do nich",
      "7. pojazdy oraz części samochodowe",
      "8. metale szlachetne oraz nieszlachetne",
      "9. leki oraz wyroby medyczne - produkty lecznicze, spec. środki spożywcze",
      "a. budynki, budowle i grunty",
      "b. usługi w zakresie przenoszenia uprawnień do emisji gazów cieplarnianych",
      "c. usługi niematerialne: doradcze, księgowe, prawne i in., w zakresie B-R",
      "d. usługi transportowe i gospodarki magazynowej",
      "e. BRAK",
  };
  return workingYear >= FIRST_YEAR_OF_RTY ? from2022.items() : before2022.items();
}
