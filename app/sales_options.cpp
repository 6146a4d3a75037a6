#include "app/sales_options.h"

#include <array>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "app/option_forms.h"
#include "app/module_entries.h"
#include "app/vat_services.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/session/environment.h"
#include "env/messages.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/name_dialogs.h"
#include "ui/selection.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

constexpr int PAGES = 4;
constexpr int PAGE_ROWS = 26;
constexpr int PAGE_COLS = 78;
constexpr int FORM_ELEMENTS = 140;
constexpr int SAVED = 0x3C00;
constexpr int KEY_F4 = 0x3E00;
constexpr int MSG_SAVE_CHANGES = 50003;
constexpr int NEW_PAGES_YEAR = 2024;
constexpr int YES_NO_COL = 72;

int16_t Pages2023() { return 46; }
int16_t Pages2024() { return 197; }

const char* const kYesNoAsk[] = {"TAK", "NIE", "PYTAJ", nullptr};
const char* const kBillPrint[] = {"OD CEN NETTO", "OD CEN BRUTTO", "PARAGON", "bez VAT(od netto)", "bez VAT(od brutto)",
                                  "PYTAJ", nullptr};
const char* const kPriceKind[] = {"NETTO", "BRUTTO", "NETTO / BRUTTO", nullptr};
const char* const kCatalogue[] = {"TOWARY", "USŁUGI", nullptr};
const char* const kSalePrice[] = {"CENA A", "CENA B", "CENA C", "KONTRAHENTA", nullptr};
const char* const kMargin[] = {"dla biur podróży.", "- towary używane.", "- dzieła sztuki.",
                               "- przedmioty kolekcjonerskie i antyki.", nullptr};
const char* const kExemption[] = {"art.43 ust.1 ustawy o ptu.", "art.113 ust.1 ustawy o ptu.",
                                  "art.113 ust.9 ustawy o ptu.", "brak", nullptr};
const char* const kLumpSum2022[] = {"  3,0", "  5,5", "  8,5", "8,5-12,5", "  10", "  12", "  14", "  15", "  17",
                                    nullptr};
const char* const kLumpSum2021[] = {"8.5 %", "5.5 %", "  3 %", " 15 %", " 17 %", " 10 %", "12.5 %", "8.5 % najem",
                                    nullptr};
const char* const kLumpSum2016[] = {"8.5 %", "5.5 %", "  3 %", " 17 %", " 20 %", " 10 %", "  2 %", nullptr};
const char* const kLumpSumKind[] = {"USŁUGA", "PRODUKCJA", "HANDEL", "USŁUGI INNE", "WOLNY ZAWÓD", "NIERUCHOMOŚĆ",
                                    nullptr};
const char* const kPaymentForms[] = {"                         ", "1. GOTÓWKA", "2. PRZELEW", "3. CZEK Nr",
                                     "4. WYDŁUŻONY TERMIN", "5. POBRANIE POCZTOWE", "6. ZAPŁACONO GOTÓWKĄ",
                                     "7. KARTA PŁATNICZA", "8. POLECENIE ZAPŁATY", nullptr};
const int kMarkCodes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, NO_MARK};
const int kProcedureCodes2022[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, NO_MARK};
// The procedure marks both lists have, between their first two and their last ones.
constexpr const char* kSharedProcedures[] = {
    "TP - istniejące powiązania między nabywcą a dostawcą",
    "TT_WNT - wewnątrzwspólnotowe nabycie w procedurze trójstronnej",
    "TT_D - dostawa towarów poza terytorium kraju w procedurze trójstronnej",
    "MR_T - procedura marży dla biur podróży",
    "MR_UZ - procedura marży - towary używane, dzieła sztuki, antyki",
    "I_42 - wewnątrzwspólnotowa dostawa po imporcie (procedura celna 42)",
    "I_63 - wewnątrzwspólnotowa dostawa po imporcie (procedura celna 63)",
    "B_SPV - transfer bonu jednego przeznaczenia",
    "B_SPV_DOSTAWA - dostawa towarów i usług, których dotyczy bon",
    "B_MPV_PROWIZJA - usługi pośrednictwa przy transferze bonu różnego przeznaczenia",
};

// A procedure list ended by nullptr: the two first texts, the shared ones, the last ones.
template <size_t Last>
constexpr auto ProcedureList(const char* first, const char* second, const char* const (&last)[Last]) {
  std::array<const char*, 2 + std::size(kSharedProcedures) + Last + 1> list{};
  size_t n = 0;
  list[n++] = first;
  list[n++] = second;
  for (const char* text : kSharedProcedures) list[n++] = text;
  for (const char* text : last) list[n++] = text;
  list[n] = nullptr;
  return list;
}

constexpr auto kProcedures2022 = ProcedureList("WSTO_EE - wewnątrzwspólnotowa sprzedaż towarów na odległość",
                                               "IED - dostawa towarów przez interfejs elektroniczny", {"BRAK"});
constexpr auto kProceduresBefore2022 =
    ProcedureList("SW - sprzedaż wysyłkowa z terytorium kraju",
                  "EE - usługi telekomunikacyjne, nadawcze i elektroniczne",
                  {"MPP - transakcja objęta mechanizmem podzielonej płatności", "BRAK"});

}  // namespace

// The form of the sales options and the lists its fields show.
struct SalesOptionsPages {
  Wiget wigets[FORM_ELEMENTS];
  Selection yesNoAsk[4], invoicePrint[4], billPrint[7], priceKind[4], catalogue[3], salePrice[5], pickPrices[4],
      margin[5], exemption[5], lumpSum[10], procedures[15], gtu[15], vatRates[16];
  char pages[PAGES][PAGE_ROWS * (PAGE_COLS + 1) + 1];
  Wiget* procedureField;
  Wiget* gtuField;
  std::string paymentForms[10];
  const char* paymentItems[11];
};

namespace {

Wiget* YesNo(int row, int col, char* value) { return DefineWigetEx(row, col, WigetVar(value), 0, W_YESNO); }
Wiget* YesNo(int row, char* value) { return YesNo(row, YES_NO_COL, value); }
Wiget* Text(int row, int col, char* value, int width) {
  return DefineWigetEx(row, col, WigetVar(value), width, W_TEXT);
}
Wiget* List(int row, int col, int* value, const Selection* list) {
  return DefineWigetEx(row, col, WigetVar(value), list, W_CODE);
}
Wiget* Amount(int row, int col, double* value, int width, int decimals) {
  return DefineWigetEx(row, col, WigetVar(value), 0, W_DOUBLE | WidthFlag(width) | DecimalsFlag(decimals));
}
void PageBreak() { DefineWigetEx(0, 0, WigetSource(), 0, W_PAGE); }

// The two mark lists are offered only while option 134 is on; off they hold "none".
void EnableMarks(SalesOptionsWork* work) {
  SalesOptionsPages* form = work->form;
  bool on = work->options.procedureMarks == 'T';
  if (!on) {
    WigetSetLong(form->procedureField, NO_MARK);
    WigetSetLong(form->gtuField, NO_MARK);
  }
  StateOfWigets_(WS_DISABLED, on ? 0 : 1, form->procedureField, form->gtuField);
}

int MarksSwitched(WigetEvent* event, Wiget*, void* formData) {
  if (event->code == WE_LEAVE) EnableMarks(static_cast<SalesOptionsWork*>(formData));
  return 0;
}

// The usual VAT rate comes from the rate menu of the working year; Esc goes
// back up without a change.
int UsualVatRate(WigetEvent* event, Wiget* element, void* formData) {
  if (event->code == WE_KEY) return event->key >= 32 && event->key <= 255 ? 1 : 0;
  if (event->code != WE_ENTER) return 0;
  int code = WigetAsLong(element);
  int chosen;
  if (static_cast<SalesOptionsWork*>(formData)->workingYear >= NEW_PAGES_YEAR) {
    chosen = wybierz_kod_stawki_vat(code, 0);
  } else {
    chosen = wybierz_stawke_vat(NAZWY_STAWEK_VAT, code, -1, 0, 0);   // starts on the current code
  }
  if (chosen < 0) {
    PushKeyMessage(KEY_UP, 1);
  } else {
    WigetSetLong(element, chosen);
    PushKeyMessage(KEY_ENTER, 1);
  }
  return 0;
}

// F4 offers the payment forms; the chosen one's text goes into the field.
int PaymentForm(WigetEvent* event, Wiget* element, void* formData) {
  switch (event->code) {
    case WE_ENTER: set_fun_help("F4", "Lista", 5); break;
    case WE_LEAVE: remove_fun_help("F4"); break;
    case WE_KEY:
      if (event->key == KEY_F4) {
        const char* const* items = static_cast<SalesOptionsWork*>(formData)->form->paymentItems;
        int chosen = get_menu_function(nullptr, items, 1, -1, 0);
        if (chosen > 0) WigetSetString(element, items[chosen] + 3);
        event->key = 0;
      }
      break;
    default: break;
  }
  return 0;
}

// An export or import directory: empty, or one that exists.
int DirectoryTest(WigetEvent* event, Wiget*, void*) {
  if (event->code != WE_TEST) return 0;
  std::string name(event->newValue.text.text ? event->newValue.text.text : "",
                   static_cast<size_t>(event->newValue.text.width > 0 ? event->newValue.text.width : 0));
  name = name.c_str();
  name.erase(name.find_last_not_of(' ') + 1);
  if (name.empty() || CheckDirectoryName(name.c_str()) == 0) return 0;
  event->message = TextRef();
  return 1;
}

// The four pages of 26 lines from the screen resource, one static text each.
void LoadPages(SalesOptionsPages* form, int year) {
  uint16_t size = 0;
  const unsigned char* data =
      EnvFindRcData(RC_ACTIVE_INSTANCE, year >= NEW_PAGES_YEAR ? Pages2024 : Pages2023, &size);
  for (int page = 0; page < PAGES; page++) {
    char* out = form->pages[page];
    for (int row = 0; row < PAGE_ROWS; row++) {
      size_t at = static_cast<size_t>((page * PAGE_ROWS + row) * PAGE_COLS);
      if (data && at + PAGE_COLS <= size) std::memcpy(out, data + at, PAGE_COLS);
      else std::memset(out, ' ', PAGE_COLS);
      out += PAGE_COLS;
      *out++ = '\n';
    }
    *out = '\0';
  }
}

void BuildLists(SalesOptionsPages* f, int year) {
  FillOptionList(f->yesNoAsk, sizeof f->yesNoAsk, 12, kYesNoAsk);
  FillOptionList(f->invoicePrint, sizeof f->invoicePrint, 16, OPTION_PRINT_PRICES);
  FillOptionList(f->billPrint, sizeof f->billPrint, 20, kBillPrint);
  FillOptionList(f->priceKind, sizeof f->priceKind, 17, kPriceKind);   // "3. NETTO / BRUTTO"
  FillOptionList(f->catalogue, sizeof f->catalogue, 10, kCatalogue);
  FillOptionList(f->salePrice, sizeof f->salePrice, 12, kSalePrice);
  FillOptionList(f->pickPrices, sizeof f->pickPrices, 14, OPTION_PICK_PRICES);
  FillOptionList(f->margin, sizeof f->margin, 40, kMargin);
  FillOptionList(f->exemption, sizeof f->exemption, 30, kExemption);
  const char* const* lumpSum = year >= 2022 ? kLumpSum2022 : year == 2021 ? kLumpSum2021
                               : year >= 2016                ? kLumpSum2016
                                                             : kLumpSumKind;
  FillOptionList(f->lumpSum, sizeof f->lumpSum, 14, lumpSum);
  bool newMarks = year >= NEW_MARKS_YEAR;
  FillOptionList(f->procedures, sizeof f->procedures, 76,
                 newMarks ? kProcedures2022.data() : kProceduresBefore2022.data(),
                 newMarks ? kProcedureCodes2022 : kMarkCodes);
  FillOptionList(f->gtu, sizeof f->gtu, 76, GtuMarkTexts(year), kMarkCodes);
  ResetSelectionDefinition(f->vatRates, sizeof f->vatRates, 21, 0);
  for (int code = 1; NAZWY_STAWEK_VAT[code]; code++) DefineSelection(code, NAZWY_STAWEK_VAT[code], nullptr, 0);
  for (int i = 0; kPaymentForms[i]; i++) {
    f->paymentForms[i] = Utf8ToMazText(kPaymentForms[i]);
    f->paymentItems[i] = f->paymentForms[i].c_str();
  }
  f->paymentItems[9] = nullptr;
}

void FreeLists(SalesOptionsPages* f) {
  for (Selection* list : {f->yesNoAsk, f->invoicePrint, f->billPrint, f->priceKind, f->catalogue, f->salePrice,
                          f->pickPrices, f->margin, f->exemption, f->lumpSum, f->procedures, f->gtu, f->vatRates})
    FreeSelections(list);
}

void Numbering(int row, DocumentNumbering& kind) {
  Text(row, 8, kind.name, 40);
  Text(row, 51, kind.prefix, 4);
  Text(row, 67, kind.suffix, 9);
}

void BuildPage1(SalesOptionsWork* w, SalesOptionsPages* f) {
  DefineWigetEx(0, 0, WigetMsg(f->pages[0]), 0, W_STATIC);
  DocumentNumbering* n = w->options.numbering;
  if (w->workingYear >= NEW_PAGES_YEAR) {
    int row = 2;
    for (int kind : {DOC_FV, DOC_MP, DOC_FM, DOC_FK, DOC_BR, DOC_PF}) Numbering(row++, n[kind]);
    // the FP row names the invoice as FV does; the ZP row shows the FZ name
    Text(row, 8, n[DOC_FV].name, 40);
    Text(row, 51, n[DOC_FP].prefix, 4);
    Text(row++, 67, n[DOC_FP].suffix, 9);
    Numbering(row++, n[DOC_FZ]);
    Text(row, 8, n[DOC_FZ].name, 40)->flags |= WF_DISPLAY_ONLY;
    Text(row, 51, n[DOC_ZP].prefix, 4);
    Text(row, 67, n[DOC_ZP].suffix, 9);
    List(11, 18, &w->options.list102, f->margin);
  } else {
    int row = 2;
    for (int kind : {DOC_FV, DOC_RU, DOC_FK, DOC_RK, DOC_BR, DOC_PF, DOC_MP, DOC_FM}) Numbering(row++, n[kind]);
    List(10, 18, &w->options.list102, f->margin);
    Numbering(11, n[DOC_FZ]);
    Numbering(12, n[DOC_FP]);
  }
  SalesOptions& o = w->options;
  YesNo(13, &o.autoNumbering);
  YesNo(14, &o.proposeNumber);
  YesNo(15, &o.standardNumbering);
  YesNo(17, &o.procedureMarks)->hook = MarksSwitched;
  f->procedureField = List(19, 45, &o.list131, f->procedures);
  f->gtuField = List(21, 37, &o.list132, f->gtu);
  YesNo(22, 16, &o.useAccounts);
  YesNo(22, &o.askRateDate);
  Amount(23, 48, &o.simplifiedLimitPln, 10, 2);
  Amount(23, 65, &o.simplifiedLimitEur, 10, 2);
  List(24, 51, &o.list128, f->priceKind);
  YesNo(25, &o.roundPrices);
}

void BuildPage2(SalesOptionsWork* w, SalesOptionsPages* f) {
  PageBreak();
  DefineWigetEx(0, 0, WigetMsg(f->pages[1]), 0, W_STATIC);
  SalesOptions& o = w->options;
  Text(1, 37, o.usualPayment, 25)->hook = PaymentForm;
  YesNo(2, &o.paidToCash);
  YesNo(3, &o.printKp);
  YesNo(6, &o.cashVat);
  YesNo(7, &o.cashPit);
  List(8, 40, &o.list103, f->exemption);
  DefineWigetEx(9, 46, WigetVar(&o.usualVatCode), f->vatRates, W_CODE | WF_LONG)->hook = UsualVatRate;
  Amount(10, 27, &w->vatRatesFrom2011[VAT_BASIC], 4, 1);
  Amount(10, 57, &w->vatRatesFrom2011[VAT_REDUCED_1], 4, 1);
  Amount(11, 27, &w->vatRatesFrom2011[VAT_REDUCED_2], 4, 1);
  Amount(11, 57, &w->vatRatesFrom2011[VAT_RR_REFUND], 4, 1);
  Amount(12, 29, &w->taxiLumpSum, 4, 1);
  YesNo(15, &o.listsByName);
  List(16, 35, &o.list44, f->catalogue);
  List(17, 35, &o.list60, f->salePrice);
  List(18, 35, &o.list61, f->pickPrices);
  YesNo(19, &o.blockNonPositiveStock);
  YesNo(21, &o.stockOnEntry);
  YesNo(22, &o.stockOnReceiptInvoices);
  YesNo(23, &o.stockOnProForma);
  YesNo(24, &o.stockOnImport);
  YesNo(25, &o.stockRulesForAuxiliary);
}

void BuildPage3(SalesOptionsWork* w, SalesOptionsPages* f) {
  PageBreak();
  DefineWigetEx(0, 0, WigetMsg(f->pages[2]), 0, W_STATIC);
  SalesOptions& o = w->options;
  YesNo(2, &o.printAfterSave);
  Text(3, 45, o.issuePlace, 25);
  Text(5, 45, o.issuedBy, 30);
  List(7, 45, &o.list50, f->invoicePrint);
  List(8, 45, &o.list51, f->billPrint);
  YesNo(9, &o.printClassification);
  Text(10, 45, o.classificationLabel, 8);
  YesNo(11, &o.printGoodsCode);
  List(12, 45, &o.list107, f->yesNoAsk);
  YesNo(13, &o.printSaleMonthOnly);
  Text(15, 0, o.saleDateLabel, 65);
  Text(17, 0, o.saleMonthLabel, 65);
  YesNo(19, &w->originalCopyMark);
  YesNo(21, &o.printReceivedBy);
  Text(22, 19, o.receivedByLabel, 45);
  YesNo(24, &o.printFinalInvoiceList);
  YesNo(25, &o.listAmounts);
}

void BuildPage4(SalesOptionsWork* w, SalesOptionsPages* f) {
  PageBreak();
  DefineWigetEx(0, 0, WigetMsg(f->pages[3]), 0, W_STATIC);
  SalesOptions& o = w->options;
  for (int i = 0; i < 3; i++) Text(4 + 2 * i, 0, o.footer[i], 78);
  YesNo(10, &o.printMarkCodes);
  List(14, 52, &o.usualLumpSum, f->lumpSum);
  Text(18, 28, o.jpkFaDir, 50)->hook = DirectoryTest;
  // After their labels, shown in the rest of the row and scrolled.
  for (auto [row, dir] : {std::pair{20, o.exportDir}, std::pair{24, o.importDir}})
    DefineWigetEx(row, 48, WigetVar(dir), 50, W_TEXT | WidthFlag(29))->hook = DirectoryTest;
}

void Apply(const SalesOptionsWork& w) {
  salesOptions = w.options;
  for (int i = 0; i < VAT_RATE_COUNT; i++) mainOptions.vatRatesFrom2011[i] = w.vatRatesFrom2011[i];
  mainOptions.taxiLumpSum = w.taxiLumpSum;
  optionOriginalCopyMark = w.originalCopyMark;
}

}  // namespace

int SalesOptionsForm(SalesOptionsWork* work) {
  void* memory = u4alloc(sizeof(SalesOptionsPages));
  if (!memory) return -1;
  SalesOptionsPages* f = new (memory) SalesOptionsPages();
  work->form = f;
  work->workingYear = mainOptions.workingYear;
  work->options = salesOptions;
  for (int i = 0; i < VAT_RATE_COUNT; i++) work->vatRatesFrom2011[i] = mainOptions.vatRatesFrom2011[i];
  work->taxiLumpSum = mainOptions.taxiLumpSum;
  work->originalCopyMark = optionOriginalCopyMark;
  LoadPages(f, work->workingYear);
  BuildLists(f, work->workingYear);
  ResetWigetsDefinition(f->wigets, FORM_ELEMENTS * WIGET_BYTES, 0);
  BuildPage1(work, f);
  BuildPage2(work, f);
  BuildPage3(work, f);
  BuildPage4(work, f);
  return 0;
}

int SalesOptionsWindow(SalesOptionsWork* work) {
  SalesOptionsPages* f = work->form;
  if (!f) return -1;
  EnableMarks(work);
  int result = -1;
  int window = DefineOpcjeWindow(1, 0, PAGE_ROWS + 2, PAGE_COLS + 2, "OPCJE", f->wigets, work, 0);
  if (window >= 0) {
    ShowFirstOptionsPage(window, f->wigets);
    add_help_line();
    set_fun_help("F2", "Zapisz", 1);
    // Enter past the last field stays on the last page; only F2 ends with saving
    int key = ActivateWindow(window, nullptr, nullptr, AW_NO_QUESTIONS | AW_ENTER_NO_SAVE);
    remove_help_line();
    w4deactivate(window);
    w4close(window);
    if (key == SAVED && Pytanie(MSG_SAVE_CHANGES) != KEY_ESC) {
      Apply(*work);
      result = 0;
    }
  }
  FreeWigets(f->wigets);
  FreeLists(f);
  f->~SalesOptionsPages();
  u4free(f);
  work->form = nullptr;
  return result;
}

int32_t SalesOptionsAction(int32_t) {
  char marksBefore = salesOptions.procedureMarks;
  SalesOptionsWork work{};
  if (SalesOptionsForm(&work) != 0) return 0;
  if (SalesOptionsWindow(&work) == 0) {
    SaveEwidencjeOptions();
    SaveMainOptions();
    if (salesOptions.procedureMarks != marksBefore)
      MessageWindow(0, Utf8ToMazText("Zmieniła się opcja 'Używać oznaczeń procedur oraz towarów i usług?'").c_str(),
                    Utf8ToMazText("Żeby zmiana zadziałała, należy ponownie uruchomić Korbel.").c_str());
  }
  return 0;
}
