#include "app/option_forms.h"

#include "env/code_pages.h"
#include "ui/selection.h"
#include "ui/wiget.h"
#include "ui/window4.h"

void FillOptionList(Selection* list, int bytes, int width, const char* const* texts, const int* codes) {
  ResetSelectionDefinition(list, bytes, width, 3);
  for (int i = 0; texts[i]; i++) DefineSelection(codes ? codes[i] : i + 1, Utf8ToMazText(texts[i]).c_str(), nullptr, 0);
}

const char* const OPTION_PRINT_PRICES[] = {"OD CEN NETTO", "OD CEN BRUTTO", "PYTAJ", nullptr};
const char* const OPTION_PICK_PRICES[] = {"OBIE CENY", "TYLKO NETTO", "TYLKO BRUTTO", nullptr};

namespace {

const char* const kGtu2022[] = {
    "napoje alkoholowe pow. 1,2%, mieszanki piwa pow. 0,5%",
    "benzyny, gazy, oleje napędowe, biopaliwa (art.103 ust. 5aa)",
    "oleje opałowe, smarowe i inne",
    "wyroby tytoniowe, płyn do e-papierosów, wyroby nowatorskie",
    "odpady, surowce wtórne, wraki",
    "urządzenia i materiały elektroniczne",
    "pojazdy samochodowe i części",
    "metale szlachetne oraz nieszlachetne",
    "produkty lecznicze oraz wyroby medyczne, spec. środki spożywcze",
    "budynki, budowle i grunty",
    "usługi przenoszenia uprawnień do emisji gazów cieplarnianych",
    "usługi niematerialne: doradcze, księgowe, prawne i in.",
    "usługi transportowe i gospodarki magazynowej",
    "BRAK",
    nullptr};
const char* const kGtuBefore2022[] = {
    "napoje alkoholowe - piwa, wina, napoje fermentowane",
    "benzyny, oleje, gaz płynny (art.103 ust. 5aa)",
    "oleje opałowe, smarowe i inne",
    "wyroby tytoniowe, susz tytoniowy, płyn do e-papierosów",
    "odpady, surowce wtórne, wraki",
    "urządzenia elektroniczne, części i akcesoria",
    "pojazdy oraz części samochodowe",
    "metale szlachetne oraz nieszlachetne",
    "leki oraz wyroby medyczne - produkty lecznicze, spec. środki spożywcze",
    "budynki, budowle i grunty",
    "usługi przenoszenia uprawnień do emisji gazów",
    "usługi niematerialne: doradcze, księgowe, prawne i in., w zakresie B-R",
    "usługi transportowe i gospodarki magazynowej",
    "BRAK",
    nullptr};

}  // namespace

const char* const* GtuMarkTexts(int workingYear) { return workingYear >= NEW_MARKS_YEAR ? kGtu2022 : kGtuBefore2022; }

void ShowFirstOptionsPage(int window, Wiget* list) {
  w4activate(window);
  Window4* record = w4record(window);
  record->page = 0;
  DisplayPageWigets(record, list, 0, 0, WD_ALL);
}
