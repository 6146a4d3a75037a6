#include <cstring>

#include "app/option_forms.h"
#include "app/option_sets.h"
#include "app/sales_options.h"
#include "env/code_pages.h"
#include "env/session/environment.h"
#include "ui/message_box.h"
#include "ui/selection.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

constexpr int SAVED = 0x3C00;
constexpr int ROWS = 25;
constexpr int COLS = 78;
constexpr int FORM_ELEMENTS = 48;
constexpr int SWITCH_COL = 75;
constexpr int TEXT_COL = 26;
constexpr int PRINT_LIST_COL = 52;
constexpr int MARK_LIST_COL = 30;
constexpr int DEVICE_COL = 63;
constexpr int FIRST_PORT = 1, LAST_PORT = 99;

int16_t FirstPage() { return 150; }
int16_t SecondPage() { return 151; }

const char* const kIssuePrices[] = {"WG CEN ZAKUPU", "WG CEN SPRZEDAZY A", "WG CEN SPRZEDAZY B", "WG CEN SPRZEDAZY C",
                                    "PYTAJ", nullptr};
const char* const kCashRegisters[] = {"BRAK KASY", "ELZAB", "NOVITUS", "BRAVO", "TANGO", "MAŁA",
                                      "PS2000", "CR280 PLUS", "CR280 THER3", "CR280 THER4", "CR280 PLUS3", "DSA40",
                                      "DSA100", "DSA4000S", "OMRON GR30", "ADAX-3100", "TOTAL TAX", nullptr};
const int kCashRegisterTypes[] = {1, 4, 17, 15, 10, 9, 2, 3, 7, 8, 14, 11, 12, 13, 5, 6, 16};
constexpr int GOODS_MARKS = 10;
const int kGoodsMarkCodes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, NO_MARK};
const int kServicesMarkCodes[] = {11, 12, 13, NO_MARK};

// The goods marks are the first ten of the year's list, the services marks
// the last three; both end with "BRAK".
void FillMarks(Selection* goods, int goodsBytes, Selection* services, int servicesBytes, int year) {
  const char* const* all = GtuMarkTexts(year);
  const char* goodsTexts[GOODS_MARKS + 2];
  for (int i = 0; i < GOODS_MARKS; i++) goodsTexts[i] = all[i];
  goodsTexts[GOODS_MARKS] = all[NO_MARK - 1];
  goodsTexts[GOODS_MARKS + 1] = nullptr;
  FillOptionList(goods, goodsBytes, 60, goodsTexts, kGoodsMarkCodes);
  const char* servicesTexts[] = {all[10], all[11], all[12], all[NO_MARK - 1], nullptr};
  FillOptionList(services, servicesBytes, 60, servicesTexts, kServicesMarkCodes);
}

}  // namespace

int CashRegisterPortValid(WigetEvent* event, Wiget*, void*) {
  if (event->code != WE_TEST) return 0;
  if (event->newLong >= FIRST_PORT && event->newLong <= LAST_PORT) return 0;
  Uwaga("Numery od 1 do 99.");
  event->message = TextRef();
  return 1;
}

int WarehouseOptionsWindow() {
  WarehouseOptions o = warehouseOptions;
  int year = mainOptions.workingYear;
  Selection printPrices[4]{}, issuePrices[6]{}, pickPrices[4]{}, goodsMarks[12]{}, servicesMarks[5]{},
      registers[18]{};
  FillOptionList(printPrices, sizeof printPrices, 16, OPTION_PRINT_PRICES);
  FillOptionList(issuePrices, sizeof issuePrices, 20, kIssuePrices);
  FillOptionList(pickPrices, sizeof pickPrices, 14, OPTION_PICK_PRICES);
  FillMarks(goodsMarks, sizeof goodsMarks, servicesMarks, sizeof servicesMarks, year);
  FillOptionList(registers, sizeof registers, 12, kCashRegisters, kCashRegisterTypes);

  Wiget list[FORM_ELEMENTS]{};
  ResetWigetsDefinition(list, FORM_ELEMENTS * WIGET_BYTES, 0);
  auto YesNo = [](int row, char* value) {
    return DefineWigetEx(row, SWITCH_COL, WigetVar(value), 0, W_YESNO);
  };
  auto Text = [](int row, int col, char* value, int width) {
    return DefineWigetEx(row, col, WigetVar(value), width, W_TEXT);
  };
  auto List = [](int row, int col, int* value, const Selection* items) {
    return DefineWigetEx(row, col, WigetVar(value), items, W_CODE);
  };
  auto Margin = [](int row, double* value) {
    return DefineWigetEx(row, 32, WigetVar(value), 0, W_DOUBLE | WidthFlag(6) | DecimalsFlag(2));
  };
  DefineWigetEx(0, 0, WigetRes(FirstPage), 0, W_STATIC);
  Text(1, TEXT_COL, o.warehouseCode, 20);
  YesNo(3, &o.autoNumbering);
  Text(5, TEXT_COL, o.issuedBy, 25);
  Text(6, TEXT_COL, o.issuePlace, 25);
  YesNo(9, &o.stockOnEntry);
  YesNo(10, &o.stockOnImport);
  YesNo(11, &o.addGoodsOnImport);
  YesNo(12, &o.updatePricesOnImport);
  YesNo(13, &o.printAfterSave);
  YesNo(15, &o.printGoodsCode);
  List(17, PRINT_LIST_COL, &o.printPrices, printPrices);
  List(18, PRINT_LIST_COL, &o.issuePrices, issuePrices);
  Text(21, 0, o.issueName, COLS);
  Text(23, 0, o.receiptName, COLS);
  DefineWigetEx(0, 0, WigetSource(), 0, W_PAGE);
  DefineWigetEx(0, 0, WigetRes(SecondPage), 0, W_STATIC);
  YesNo(2, &o.searchByName);
  List(3, 60, &o.pricesShown, pickPrices);
  YesNo(4, &o.signalBelowMinimum);
  YesNo(6, &o.showReceivers);
  YesNo(7, &o.markChanges);
  YesNo(8, &o.roundPrices);
  YesNo(9, &o.marginPricing);
  for (int i = 0; i < 3; i++) Margin(10 + i, &o.margin[i]);
  List(15, MARK_LIST_COL, &o.goodsMark, goodsMarks);
  List(17, MARK_LIST_COL, &o.servicesMark, servicesMarks);
  List(19, DEVICE_COL, &o.cashRegisterType, registers);
  DefineWigetEx(20, DEVICE_COL, WigetVar(&o.cashRegisterPort), 0, W_INT | WidthFlag(2))->hook = CashRegisterPortValid;
  YesNo(21, &o.checkCodeLength);
  YesNo(22, &o.transmissionReport);
  Text(24, TEXT_COL, o.collectorDir, 50);

  int result = 0;
  int window = DefineOpcjeWindow(2, 0, ROWS + 2, COLS + 2, "OPCJE", list, &o, 0);
  if (window >= 0) {
    ShowFirstOptionsPage(window, list);
    add_help_line();
    set_fun_help("F2", "Zapisz", 1);
    int key = ActivateWindow(window, nullptr, nullptr, 0);
    remove_help_line();
    w4deactivate(window);
    w4close(window);
    if (key == SAVED) {
      warehouseOptions = o;
      result = SaveMagazynOptions();
    }
  }
  FreeWigets(list);
  for (Selection* items : {printPrices, issuePrices, pickPrices, goodsMarks, servicesMarks, registers})
    FreeSelections(items);
  return result;
}
