#include "masterdata/price_arithmetic.h"

#include <cstring>
#include <utility>

#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/vat_services.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "masterdata/listed_records.h"
#include "tables/masterdata_tables.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_ASK_MARGINS = 20038;
constexpr int MSG_ASK_REDUCE_SERVICES = 20046;
constexpr int MSG_ASK_REDUCE_GOODS = 20047;
constexpr int MSG_ASK_RECALC_SERVICES = 20048;
constexpr int MSG_ASK_RECALC_GOODS = 20049;

constexpr char MARK = '\x9D';
constexpr int KEY_F7 = 0x4100;
constexpr int F7_ORDER = 7;
// The margin fields (N6.2) hold what lies strictly between these.
constexpr double LOWEST_MARGIN = -100, HIGHEST_MARGIN = 1000;

// The reduction window: its size for goods and services and its rows.
constexpr int GOODS_WINDOW_ROWS = 9, SERVICES_WINDOW_ROWS = 8;
constexpr int REDUCTION_ROW = 4, REDUCTION_COL = 32, REDUCTION_WIDTH = 48;
// One place more than "###.#", so that -100 % and below can be typed; the
// rows have room for it.
const char REDUCTION_PICTURE[] = "####.#";
constexpr int ENTRY_BEFORE_END = 10;
const char* const REDUCTION_ROWS[] = {
    " Stopa przeceny dla A  -        [%]",
    " Stopa przeceny dla B  -        [%]",
    " Stopa przeceny dla C  -        [%]",
};

// A price level: its net and gross prices, for goods their stock values and
// margin.
struct Level {
  const char* net;
  const char* gross;
  const char* netValue;
  const char* grossValue;
  const char* margin;
};
constexpr int LEVEL_COUNT = 3;
const Level LEVELS[LEVEL_COUNT] = {
    {"CSN", "CSB", "WSN", "WSB", "MRA"},
    {"CBN", "CBB", "WBN", "WBB", "MRB"},
    {"CCN", "CCB", "WCN", "WCB", "MRC"},
};
const Level PURCHASE = {"CZN", "CZB", "WZN", "WZB", nullptr};

typedef double (*Rounding)(double value);
double Unrounded(double value) { return value; }

DbField* Goods(const char* name) { return d4field(Z5TOWA.table, name); }
DbField* Service(const char* name) { return d4field(Z5USLU.table, name); }
double Value(DbField* field) { return f4double(field); }
void Store(DbField* field, double value) { ToFieldCopyDouble(field, value); }

double WithVat(double net, double rate) { return net * (1 + rate / 100); }
double WithoutVat(double gross, double rate) { return gross * 100 / (rate + 100); }
bool NetGiven(DbTable* table) { return *f4ptr(d4field(table, "TRC")) == 'T'; }

// The stock values of a goods level. The price reduction keeps the plain
// product; everything else stores 0 for a negative one.
void LevelValues(const Level& level, bool negativeKept = false) {
  double stock = Value(Goods("ILO"));
  for (auto [price, value] : {std::pair{level.net, level.netValue}, std::pair{level.gross, level.grossValue}}) {
    double product = Value(Goods(price)) * stock;
    Store(Goods(value), negativeKept ? product : ZerujMinusowe(product));
  }
}

void AllGoodsValues() {
  wartosci_ceny_zakupu();
  for (const Level& level : LEVELS) LevelValues(level);
}

void GrossFromNet(DbTable* table, const Level& level, double rate, Rounding round) {
  Store(d4field(table, level.gross), round(WithVat(Value(d4field(table, level.net)), rate)));
}
void NetFromGross(DbTable* table, const Level& level, double rate, Rounding round) {
  Store(d4field(table, level.net), round(WithoutVat(Value(d4field(table, level.gross)), rate)));
}
// The price that TRC does not give follows the one it gives.
void FollowDirection(DbTable* table, const Level& level, double rate, Rounding round) {
  if (NetGiven(table))
    GrossFromNet(table, level, rate, round);
  else
    NetFromGross(table, level, rate, round);
}

// The level whose net (or gross) price field the get edits, or NULL.
const Level* LevelOf(DbTable* table, const Get4* get, bool net) {
  for (const Level& level : LEVELS)
    if (get->field && d4field(table, net ? level.net : level.gross) == get->field) return &level;
  return nullptr;
}

// The key of a field with F7 "Przelicz": the hint shows while it is edited.
int PriceKey() {
  set_fun_help("F7", "Przelicz", F7_ORDER);
  int key = g4char();
  if (key != KEY_F7 && WigetCtrlKey(key)) remove_fun_help("F7");
  return key;
}
double Typed(const char* editBuffer) { return QuickDouble(editBuffer, static_cast<int>(std::strlen(editBuffer))); }

// The three rates of a reduction, in percent; false unless left with Enter.
bool AskReductionRates(int windowRows, double rates[LEVEL_COUNT]) {
  int previous = w4select(-1);
  int window =
      DefineWprowadzWindow(REDUCTION_ROW, REDUCTION_COL, windowRows, REDUCTION_WIDTH, nullptr, nullptr, nullptr);
  if (window < 0) return false;
  w4activate(window);
  for (int i = 0; i < LEVEL_COUNT; i++) {
    int row = 1 + 2 * i;
    rates[i] = 0;
    w4(row, 0, REDUCTION_ROWS[i]);
    g4double(row, static_cast<int>(std::strlen(REDUCTION_ROWS[i])) - ENTRY_BEFORE_END, &rates[i]);
    g4picture(REDUCTION_PICTURE);
  }
  int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key == KEY_ENTER;
}

double Reduced(double price, double factor) { return ZerujMinusowe(price * factor); }

void ReduceGoods(const double factors[LEVEL_COUNT], bool updateMargins) {
  double purchase = Value(Goods("CZN"));
  for (int i = 0; i < LEVEL_COUNT; i++) {
    const Level& level = LEVELS[i];
    DbField* net = Goods(level.net);
    DbField* gross = Goods(level.gross);
    Store(net, Reduced(Value(net), factors[i]));
    double oldGross = Value(gross);
    double newGross = Reduced(oldGross, factors[i]);
    // Only a change of price A marks the goods for the cash register.
    if (i == 0 && warehouseOptions.markChanges == 'T' && ROUND(newGross, 4) != ROUND(oldGross, 4))
      f4assign_char(Goods("ZNA"), MARK);
    Store(gross, newGross);
    LevelValues(level, true);
    if (updateMargins && purchase != 0) {
      // Compared as stored, so that the margin always fits its field.
      double margin = ROUND((Value(net) / purchase - 1) * 100, 2);
      if (margin > LOWEST_MARGIN && margin < HIGHEST_MARGIN) Store(Goods(level.margin), margin);
    }
  }
}

void RecalculateGoods() {
  DbField* purchaseRate = Goods("VZS");
  Store(purchaseRate, wartosc_stawki_vat(Goods("VZT")));
  GrossFromNet(Z5TOWA.table, PURCHASE, Value(purchaseRate), Unrounded);
  wartosci_ceny_zakupu();
  DbField* salesRate = Goods("VSS");
  Store(salesRate, wartosc_stawki_vat(Goods("VST")));
  for (const Level& level : LEVELS) {
    FollowDirection(Z5TOWA.table, level, Value(salesRate), Unrounded);
    LevelValues(level);
  }
}

void ReduceService(const double factors[LEVEL_COUNT]) {
  for (int i = 0; i < LEVEL_COUNT; i++)
    for (const char* name : {LEVELS[i].net, LEVELS[i].gross}) Store(Service(name), Reduced(Value(Service(name)), factors[i]));
}

void RecalculateService() {
  DbField* salesRate = Service("VSS");
  Store(salesRate, wartosc_stawki_vat(Service("VTS")));
  for (const Level& level : LEVELS) FollowDirection(Z5USLU.table, level, Value(salesRate), Unrounded);
}

void Factors(const double rates[LEVEL_COUNT], double factors[LEVEL_COUNT]) {
  for (int i = 0; i < LEVEL_COUNT; i++) factors[i] = 1 + rates[i] / 100;
}

}  // namespace

double zaokraglij_cene(double value) { return ROUND(value, warehouseOptions.roundPrices == 'T' ? 2 : 4); }

void wartosci_ceny_a() { LevelValues(LEVELS[0]); }
void wartosci_ceny_b() { LevelValues(LEVELS[1]); }
void wartosci_ceny_c() { LevelValues(LEVELS[2]); }
void wartosci_ceny_zakupu() { LevelValues(PURCHASE); }

void cena_z_marzy(double margin, DbField* net, DbField* gross) {
  double base = Value(Goods("CZN")) * (1 + margin / 100);
  double rate = Value(Goods("VSS"));
  if (NetGiven(Z5TOWA.table)) {
    double netPrice = zaokraglij_cene(ZerujMinusowe(base));
    Store(net, netPrice);
    Store(gross, zaokraglij_cene(WithVat(netPrice, rate)));
  } else {
    double grossPrice = zaokraglij_cene(ZerujMinusowe(WithVat(base, rate)));
    Store(gross, grossPrice);
    Store(net, zaokraglij_cene(WithoutVat(grossPrice, rate)));
  }
  for (const Level& level : LEVELS)
    if (Goods(level.net) == net) LevelValues(level);
}

int GoodsStockLeft(Get4*) {
  AllGoodsValues();
  OdswiezGety();
  return 0;
}

int GoodsPurchaseNetLeft(Get4* get) {
  if (valid_wart_nieujemna(get) != 0) return -1;
  DbField* net = Goods("CZN");
  Store(net, zaokraglij_cene(Value(net)));
  GrossFromNet(Z5TOWA.table, PURCHASE, Value(Goods("VZS")), zaokraglij_cene);
  wartosci_ceny_zakupu();
  OdswiezGety();
  return 0;
}

int GoodsPurchaseGrossLeft(Get4* get) {
  if (valid_wart_nieujemna(get) != 0) return -1;
  DbField* gross = Goods("CZB");
  Store(gross, zaokraglij_cene(Value(gross)));
  NetFromGross(Z5TOWA.table, PURCHASE, Value(Goods("VZS")), zaokraglij_cene);
  wartosci_ceny_zakupu();
  OdswiezGety();
  return 0;
}

int GoodsSellingNetLeft(Get4* get) {
  if (valid_wart_nieujemna(get) != 0) return -1;
  if (const Level* level = LevelOf(Z5TOWA.table, get, true)) {
    if (NetGiven(Z5TOWA.table)) GrossFromNet(Z5TOWA.table, *level, Value(Goods("VSS")), zaokraglij_cene);
    LevelValues(*level);
  }
  OdswiezGety();
  return 0;
}

int GoodsSellingGrossLeft(Get4* get) {
  if (valid_wart_nieujemna(get) != 0) return -1;
  if (const Level* level = LevelOf(Z5TOWA.table, get, false)) {
    if (!NetGiven(Z5TOWA.table)) NetFromGross(Z5TOWA.table, *level, Value(Goods("VSS")), zaokraglij_cene);
    LevelValues(*level);
  }
  OdswiezGety();
  return 0;
}

void GoodsPurchaseRateChosen() {
  GrossFromNet(Z5TOWA.table, PURCHASE, Value(Goods("VZS")), Unrounded);
  LevelValues(PURCHASE);
  OdswiezGety();
}

void GoodsSalesRateChosen() {
  double rate = Value(Goods("VSS"));
  for (const Level& level : LEVELS) {
    FollowDirection(Z5TOWA.table, level, rate, zaokraglij_cene);
    LevelValues(level);
  }
  OdswiezGety();
}

int GoodsMarginKeys(Get4*, char* editBuffer, int32_t level) {
  int key = PriceKey();
  if (key != KEY_F7 || level < 0 || level >= LEVEL_COUNT) return key;
  const Level& chosen = LEVELS[level];
  DbField* margin = Goods(chosen.margin);
  Store(margin, Typed(editBuffer));
  cena_z_marzy(Value(margin), Goods(chosen.net), Goods(chosen.gross));
  OdswiezGety();
  // The cursor passes the level's net and gross prices.
  PushKeyMessage(KEY_ENTER, 3);
  return -1;
}

int GoodsPurchaseNetKeys(Get4*, char* editBuffer, int32_t) {
  int key = PriceKey();
  if (key != KEY_F7) return key;
  Store(Goods("CZN"), Typed(editBuffer));
  for (const Level& level : LEVELS) cena_z_marzy(Value(Goods(level.margin)), Goods(level.net), Goods(level.gross));
  OdswiezGety();
  return -1;
}

int ServicePurchaseNetLeft(Get4*) {
  GrossFromNet(Z5USLU.table, PURCHASE, Value(Service("VSZ")), Unrounded);
  OdswiezGety();
  return 0;
}

int ServicePurchaseGrossLeft(Get4*) {
  NetFromGross(Z5USLU.table, PURCHASE, Value(Service("VSZ")), Unrounded);
  OdswiezGety();
  return 0;
}

int ServiceSellingNetLeft(Get4* get) {
  const Level* level = LevelOf(Z5USLU.table, get, true);
  if (level && NetGiven(Z5USLU.table)) GrossFromNet(Z5USLU.table, *level, Value(Service("VSS")), Unrounded);
  OdswiezGety();
  return 0;
}

int ServiceSellingGrossLeft(Get4* get) {
  const Level* level = LevelOf(Z5USLU.table, get, false);
  if (level && !NetGiven(Z5USLU.table)) NetFromGross(Z5USLU.table, *level, Value(Service("VSS")), Unrounded);
  OdswiezGety();
  return 0;
}

void ServicePurchaseRateChosen() {
  GrossFromNet(Z5USLU.table, PURCHASE, Value(Service("VSZ")), Unrounded);
  OdswiezGety();
}

void ServiceSalesRateChosen() {
  double rate = Value(Service("VSS"));
  for (const Level& level : LEVELS) FollowDirection(Z5USLU.table, level, rate, Unrounded);
  OdswiezGety();
}

int przecena_towarow(int) {
  double rates[LEVEL_COUNT];
  if (!AskReductionRates(GOODS_WINDOW_ROWS, rates)) return 0;
  bool updateMargins = warehouseOptions.marginPricing == 'T' && Pytanie(MSG_ASK_MARGINS) != KEY_ESC;
  if (Pytanie(MSG_ASK_REDUCE_GOODS) == KEY_ESC) return 0;
  double factors[LEVEL_COUNT];
  Factors(rates, factors);
  return ChangeEveryListed([&] { ReduceGoods(factors, updateMargins); });
}

int przelicz_towary(int) {
  if (Pytanie(MSG_ASK_RECALC_GOODS) == KEY_ESC) return 0;
  return ChangeEveryListed(RecalculateGoods);
}

int przecena_uslug(int) {
  double rates[LEVEL_COUNT];
  if (!AskReductionRates(SERVICES_WINDOW_ROWS, rates)) return 0;
  if (Pytanie(MSG_ASK_REDUCE_SERVICES) == KEY_ESC) return 0;
  double factors[LEVEL_COUNT];
  Factors(rates, factors);
  return ChangeEveryListed([&] { ReduceService(factors); });
}

int przelicz_uslugi(int) {
  if (Pytanie(MSG_ASK_RECALC_SERVICES) == KEY_ESC) return 0;
  return ChangeEveryListed(RecalculateService);
}
