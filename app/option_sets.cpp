#include "app/option_sets.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "app/option_values.h"
#include "app/param_store.h"
#include "app/working_date.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/paths.h"
#include "env/text_buffers.h"
#include "env/session/environment.h"
#include "tables/catalogue.h"

MainOptions mainOptions;
TaxOptions taxOptions;
ZusOptions zusOptions;
SalesOptions salesOptions;
WarehouseOptions warehouseOptions;

namespace {

constexpr int LOG_ZUS_DIR = 329;
constexpr int FIRST_YEAR_OF_2022_LUMP_SUMS = 2022;
constexpr int FIRST_YEAR_WITHOUT_125_127 = 2017;
constexpr int LAST_YEAR_OF_FIXED_CLASSIFICATION = 2012;

// The default texts that are messages of the program's table.
constexpr int MSG_INVOICE = 20093;          // "FAKTURA nr"
constexpr int MSG_BILL = 20163;             // "RACHUNEK nr"
constexpr int MSG_RECEIPT_DOC = 20072;      // "Dokument przyjęcia nr"
constexpr int MSG_ISSUE_DOC = 20073;        // "Dokument wydania nr"
constexpr int MSG_SALE_DATE = 20146;
constexpr int MSG_SALE_MONTH = 20147;

enum class Kind { Switch, Text, Int, Double };

// One parameter of a set: its number, where it lives and its default.
struct Param {
  int number;
  Kind kind;
  void* target;
  int size;            // a text's buffer, the terminator included
  char switchDefault;
  int intDefault;
  double doubleDefault;
  const char* textDefault;   // UTF-8, or NULL
  int messageDefault;        // a message number, or 0
};

Param Sw(int number, char* target, char byDefault) {
  return Param{number, Kind::Switch, target, 1, byDefault, 0, 0, nullptr, 0};
}
Param In(int number, int* target, int byDefault) {
  return Param{number, Kind::Int, target, 0, 0, byDefault, 0, nullptr, 0};
}
Param Db(int number, double* target, double byDefault) {
  return Param{number, Kind::Double, target, 0, 0, 0, byDefault, nullptr, 0};
}
template <size_t N>
Param Tx(int number, char (&target)[N], const char* byDefault = nullptr) {
  return Param{number, Kind::Text, target, static_cast<int>(N), 0, 0, 0, byDefault, 0};
}
template <size_t N>
Param Ms(int number, char (&target)[N], int message) {
  return Param{number, Kind::Text, target, static_cast<int>(N), 0, 0, 0, nullptr, message};
}
// A text of `size` bytes that lives in a larger buffer.
Param TxIn(int number, char* target, int size) {
  return Param{number, Kind::Text, target, size, 0, 0, 0, nullptr, 0};
}

void Read(ParamTable* ctx, const Param& p) {
  switch (p.kind) {
    case Kind::Switch: GetParamChar(ctx, p.number, static_cast<char*>(p.target), p.switchDefault); break;
    case Kind::Int: GetParamInt(ctx, p.number, static_cast<int*>(p.target), p.intDefault); break;
    case Kind::Double: GetParamDouble(ctx, p.number, static_cast<double*>(p.target), p.doubleDefault); break;
    case Kind::Text: {
      char* buffer = static_cast<char*>(p.target);
      if (p.textDefault != nullptr) {
        std::string text = Utf8ToMazText(p.textDefault);
        std::memset(buffer, ' ', p.size - 1);
        std::memcpy(buffer, text.data(), std::min(text.size(), static_cast<size_t>(p.size - 1)));
        GetParam(ctx, p.number, 'C', buffer, p.size - 1);
      } else {
        GetParamText(ctx, p.number, buffer, p.size, p.messageDefault);
      }
      buffer[p.size - 1] = '\0';
      break;
    }
  }
}

void Write(ParamTable* ctx, const Param& p) {
  switch (p.kind) {
    case Kind::Switch: SetParam(ctx, p.number, 'C', p.target, 1); break;
    case Kind::Int: SetParamInt(ctx, p.number, *static_cast<int*>(p.target)); break;
    case Kind::Double: SetParamDouble(ctx, p.number, *static_cast<double*>(p.target)); break;
    case Kind::Text: {
      const char* text = static_cast<const char*>(p.target);
      SetParam(ctx, p.number, 'C', text, static_cast<int>(strnlen(text, p.size - 1)));
      break;
    }
  }
}

// Opens the set, reads or writes the parameters and closes it; the context's
// error flag, or -1 when the table does not open.
int Transfer(const std::string& section, const char* fileName, int place, const std::vector<Param>& params,
             bool write) {
  ParamTable ctx{};
  ctx.k1 = 1;
  ctx.k2 = 1;
  ctx.section = section.c_str();
  if (OpenParamTable(&ctx, fileName, 0, place) != 0) return -1;
  for (const Param& p : params) write ? Write(&ctx, p) : Read(&ctx, p);
  d4close(ctx.table);
  return ctx.error;
}

const std::string& Section(const char* utf8) {
  static std::deque<std::string> names;   // one per set, kept for the error boxes
  std::string name = Utf8ToMazText(utf8);
  for (const std::string& known : names)
    if (known == name) return known;
  names.push_back(name);
  return names.back();
}

std::vector<Param> MainParams() {
  Environment* env = EnvCurrent();
  MainOptions& o = mainOptions;
  return {
      Sw(1, &env->colourVariant, 'T'), Sw(2, &env->confirmSave, 'T'), In(3, &o.workingYear, ComputerYear()),
      In(5, &o.lockMinutes, 0), Sw(6, &o.stored6, 'A'), In(16, &o.screenFont, 0), In(17, &o.stored17, 10),
      In(18, &o.stored18, 40), In(19, &o.stored19, 2), In(20, &o.stored20, 0), Tx(21, o.stored21),
      Tx(22, o.stored22), Tx(23, o.stored23), In(24, &o.stored24, 1), Sw(25, &env->passwordAfterBlanking, 'N'),
      Sw(26, &env->menuHistory, 'T'), Sw(27, &env->useSystemDate, 'T'), Tx(29, o.archiveDir, "A:"),
      Tx(30, env->sharedCatalogueDir), Sw(31, &optionNipCheck, 'N'), Sw(32, &optionPeselCheck, 'N'),
      Sw(34, &o.transfer34, 'N'), Sw(35, &o.transfer35, ' '), In(36, &o.transfer36, 0),
      Sw(37, &o.transfer37, 'N'), In(39, &o.transfer39, 54), Sw(40, &o.transfer40, 'T'),
      Sw(41, &o.transfer41, 'P'), Sw(42, &o.transfer42, 'T'), Sw(43, &o.transfer43, 'P'),
      Sw(44, &o.transfer44, 'T'), Sw(45, &o.transfer45, 'P'), Sw(49, &o.transfer49, 'T'),
      In(50, &o.transfer50, 27), Sw(51, &o.transfer51, 'N'), Sw(52, &env->printToMainDir, 'N'),
      Db(56, &o.vatRatesTo2010[VAT_BASIC], 22), Db(57, &o.vatRatesTo2010[VAT_REDUCED_1], 7),
      Db(58, &o.vatRatesTo2010[VAT_REDUCED_2], 3), Db(60, &o.vatRatesTo2010[VAT_RR_REFUND], 6),
      In(61, &o.transfer61, 4), Db(62, &o.stored62, 19), Sw(63, &o.transfer63, 'N'),
      Tx(64, env->printSettingsDir), Db(65, &o.vatRatesFrom2011[VAT_BASIC], 23),
      Db(66, &o.vatRatesFrom2011[VAT_REDUCED_1], 8), Db(67, &o.vatRatesFrom2011[VAT_REDUCED_2], 5),
      Db(68, &o.vatRatesFrom2011[VAT_RR_REFUND], 7), In(69, &o.transfer69, 2),
      Sw(71, &optionSharedContractors, 'N'), TxIn(72, optionContractorsDir, 35), Sw(73, &o.onlineNipCheck, 'T'),
      Sw(74, &o.jpkFileNames, 'T'), Sw(75, &env->separatePrintSettings, 'N'), Db(80, &o.taxiLumpSum, 4),
      Sw(81, &o.bookNumberCheck, 'N'), Sw(82, &env->noStretchBlt, 'N'),
  };
}

std::vector<Param> TaxParams() {
  TaxOptions& o = taxOptions;
  return {
      Sw(1, &o.switch1, 'N'), Sw(2, &o.switch2, 'N'), Sw(5, &o.switch5, 'N'), Sw(8, &o.switch8, 'N'),
      Sw(9, &o.switch9, 'N'), In(6, &o.value6, 1), In(10, &o.value10, 1), In(11, &o.value11, 1),
      In(12, &o.value12, 1), Tx(15, o.archiveText), In(16, &o.value16, 150), Sw(22, &o.switch22, 'T'),
      Sw(26, &o.switch26, 'T'), In(28, &o.value28, 0), In(35, &o.value35, 90), Db(34, &o.postingLimit, 100000.0),
      In(29, &o.settlementKind, 1),
  };
}

std::vector<Param> ZusParams() {
  ZusOptions& o = zusOptions;
  return {
      Tx(1, o.directory), Sw(26, &o.switch26, 'N'), Sw(27, &o.switch27, 'T'), In(28, &o.value28, 1),
      In(44, &o.value44, 1), In(47, &o.value47, 1), In(49, &o.value49, 1), In(50, &o.value50, 1),
      Sw(51, &o.switch51, 'T'), Db(52, &o.rate52, 1.8), Db(55, &o.rate55, 1.67), Db(2, &o.rate2, 0),
      Db(56, &o.rate56, 0), Tx(57, o.text57),
  };
}

// The numbering rows: name, prefix and suffix parameters, the default name
// (a message, or a text when 0) and the prefix.
struct NumberingRow {
  int name, prefix, suffix, message;
  const char* title;
  const char* letters;
};
const NumberingRow kNumbering[SALES_DOCUMENT_KINDS] = {
    {63, 1, 2, MSG_INVOICE, nullptr, "FV"},
    {64, 3, 4, MSG_BILL, nullptr, "RU"},
    {65, 5, 6, 0, "FAKTURA KORYGUJĄCA nr", "FK"},
    {66, 7, 8, 0, "RACHUNEK KORYGUJĄCY nr", "RK"},
    {67, 9, 10, 0, "SPRZEDAŻ BEZRACHUNKOWA nr", "BR"},
    {68, 45, 46, 0, "FAKTURA PRO FORMA nr", "PF"},
    {92, 90, 91, 0, "FAKTURA VAT-MP nr", "MP"},
    {69, 53, 55, 0, "NOTA KORYGUJĄCA nr", "NK"},
    {119, 117, 118, 0, "FAKTURA VAT MARŻA nr", "FM"},
    {116, 114, 115, 0, "FAKTURA ZALICZKOWA nr", "FZ"},
    {84, 81, 83, 0, "FAKTURA VAT RR nr", "RR"},
    {135, 136, 137, 0, "FAKTURA do paragonu nr", "FP"},
    {141, 142, 143, 0, "FAKTURA ZALICZKOWA nr", "ZP"},
};

// The sales options in reading order; `saving` leaves out what the saver
// does not write.
std::vector<Param> SalesParams(int year, bool saving) {
  SalesOptions& o = salesOptions;
  std::vector<Param> params;
  for (int kind = 0; kind < SALES_DOCUMENT_KINDS; kind++) {
    const NumberingRow& row = kNumbering[kind];
    DocumentNumbering& n = o.numbering[kind];
    params.push_back(row.message != 0 ? Ms(row.name, n.name, row.message) : Tx(row.name, n.name, row.title));
    params.push_back(Tx(row.prefix, n.prefix, row.letters));
    params.push_back(Tx(row.suffix, n.suffix));
    if (kind == DOC_NK) params.push_back(In(54, &o.nkCounter, 1));
    if (kind == DOC_RR) params.push_back(In(82, &o.rrCounter, 1));
  }
  std::vector<Param> rest = {
      Tx(11, o.issuedBy), Tx(12, o.issuePlace), In(13, &o.usualVatCode, 1), In(14, &o.vatCode14, 1),
      In(15, &o.taxation, 1), In(16, &o.usualLumpSum, 1), In(37, &o.usualLumpSum2022, 0),
      Sw(18, &o.stored18, 'N'), Sw(19, &o.useAccounts, 'N'), Sw(20, &o.printAfterSave, 'N'),
      Sw(21, &o.stored21, 'T'), Sw(22, &o.stockOnEntry, 'N'), Sw(23, &o.stored23, 'N'), Sw(24, &o.stored24, 'N'),
      Sw(25, &o.stored25, 'N'), Sw(26, &o.printGoodsCode, 'N'), Sw(27, &o.listsByName, 'N'),
      Sw(28, &o.stored28, 'N'), Tx(30, o.footer[0]), Tx(31, o.footer[1]), Tx(32, o.footer[2]),
      Sw(33, &o.listAmounts, 'N'), Tx(34, o.cashDeskCode), Sw(35, &o.printFinalInvoiceList, 'T'),
      Sw(36, &o.stockOnReceiptInvoices, 'N'), Sw(39, &o.standardNumbering, 'T'),
      Sw(40, &o.printSaleMonthOnly, 'N'), Sw(41, &o.stored41, 'N'), Sw(42, &o.stockOnImport, 'N'),
      Sw(43, &o.stored43, 'N'), In(44, &o.list44, 1), Sw(47, &o.stockOnProForma, 'N'),
      Sw(48, &o.proposeNumber, 'N'), Sw(49, &optionBothMarksBefore2013, 'T'), In(50, &o.list50, 1),
      In(51, &o.list51, 1), Sw(52, &optionOriginalCopyMark, 'N'), In(56, &o.stored56, 1),
      Sw(58, &o.stockRulesForAuxiliary, 'T'), Sw(59, &o.stored59, 'N'), In(60, &o.list60, 4),
      In(61, &o.list61, 1), Sw(62, &o.autoNumbering, 'N'), Tx(70, o.stored70), Tx(71, o.stored71),
      Tx(72, o.stored72), Tx(73, o.stored73), Sw(74, &o.stored74, 'N'), Tx(75, o.usualPayment),
      Tx(76, o.stored76), In(77, &o.stored77, 1), Tx(78, o.classificationLabel, "PKWiU"),
      In(79, &o.stored79, 1), Sw(89, &o.printKp, 'N'), Sw(93, &o.cashVat, 'N'), In(101, &o.stored101, 1),
      In(102, &o.list102, 1), In(103, &o.list103, 4), Db(105, &o.simplifiedLimitPln, 450),
      Db(106, &o.simplifiedLimitEur, 100), In(107, &o.list107, 3), Sw(108, &o.stored108, 'N'),
      Ms(109, o.saleDateLabel, MSG_SALE_DATE), Ms(110, o.saleMonthLabel, MSG_SALE_MONTH),
      Sw(111, &o.printReceivedBy, 'N'), Tx(112, o.receivedByLabel, "odebrał"), Sw(113, &o.paidToCash, 'N'),
      In(120, &o.stored120, 1), Tx(121, o.marginArticle, "120"), Sw(122, &o.blockNonPositiveStock, 'N'),
      Sw(124, &o.roundPrices, 'T'), Sw(126, &o.stored126, 'N'), In(128, &o.list128, 3),
      Sw(129, &o.askRateDate, 'N'), Tx(130, o.stored130), In(131, &o.list131, 14), In(132, &o.list132, 14),
      Sw(133, &o.printMarkCodes, 'N'), Sw(134, &o.procedureMarks, 'T'), Tx(138, o.importDir),
      Tx(139, o.exportDir), Tx(140, o.jpkFaDir), Sw(144, &o.cashPit, 'N'),
  };
  params.insert(params.end(), rest.begin(), rest.end());
  if (year > LAST_YEAR_OF_FIXED_CLASSIFICATION) params.push_back(Sw(104, &o.printClassification, 'N'));
  if (!saving || year < FIRST_YEAR_WITHOUT_125_127) {
    params.push_back(Sw(125, &o.stored125, 'N'));
    params.push_back(Sw(127, &o.stored127, 'N'));
  }
  return params;
}

std::vector<Param> WarehouseParams() {
  WarehouseOptions& o = warehouseOptions;
  return {
      Tx(12, o.warehouseCode), Sw(28, &o.autoNumbering, 'N'), Tx(1, o.issuedBy), Tx(2, o.issuePlace),
      Sw(5, &o.stockOnEntry, 'N'), Sw(8, &o.stockOnImport, 'N'), Sw(9, &o.addGoodsOnImport, 'N'),
      Sw(10, &o.updatePricesOnImport, 'N'), Sw(4, &o.printAfterSave, 'N'), Sw(6, &o.printGoodsCode, 'N'),
      In(23, &o.printPrices, 1), In(24, &o.issuePrices, 1), Ms(11, o.issueName, MSG_ISSUE_DOC),
      Ms(21, o.receiptName, MSG_RECEIPT_DOC), Sw(7, &o.searchByName, 'N'), In(27, &o.pricesShown, 1),
      Sw(18, &o.signalBelowMinimum, 'N'), Sw(13, &o.showReceivers, 'N'), Sw(29, &o.markChanges, 'N'),
      Sw(33, &o.roundPrices, 'T'), Sw(14, &o.marginPricing, 'N'), Db(15, &o.margin[0], 0),
      Db(16, &o.margin[1], 0), Db(17, &o.margin[2], 0), In(34, &o.goodsMark, 14), In(35, &o.servicesMark, 14),
      In(19, &o.cashRegisterType, 1), In(20, &o.cashRegisterPort, 1), Sw(22, &o.checkCodeLength, 'T'),
      Sw(25, &o.transmissionReport, 'N'), Tx(26, o.collectorDir),
  };
}

const std::string& MainSection() { return Section("OPCJE GŁÓWNE"); }

}  // namespace

int LoadMainOptions() {
  mainOptions = MainOptions{};
  std::memset(optionContractorsDir, 0, sizeof optionContractorsDir);
  int result = Transfer(MainSection(), MainOptionsFileName(), PARAM_PROGRAM_DIR, MainParams(), false);
  if (result == 0) DeriveMainOptionValues(mainOptions.workingYear, mainOptions.vatRatesTo2010,
                                          mainOptions.vatRatesFrom2011);
  return result;
}

int SaveMainOptions() {
  return Transfer(MainSection(), MainOptionsFileName(), PARAM_PROGRAM_DIR, MainParams(), true);
}

int LoadPodatkiOptions() {
  taxOptions = TaxOptions{};
  int result = Transfer(Section("PODATKI"), "Z5PAPV.DBF", PARAM_CURRENT_DIR, TaxParams(), false);
  taxOptions.switch25 = 'N';
  SettlementKindOf(taxOptions.settlementKind, &taxOptions.settlementKind, &taxOptions.settlementCompanion);
  return result;
}

int SavePodatkiOptions() {
  std::vector<Param> params = TaxParams();
  params.push_back(Sw(25, &taxOptions.switch25, 'N'));
  return Transfer(Section("PODATKI"), "Z5PAPV.DBF", PARAM_CURRENT_DIR, params, true);
}

int LoadEwidencjeOptions() {
  salesOptions = SalesOptions{};
  int year = WorkingYear();
  int result = Transfer(Section("EWIDENCJE"), "Z5PAEV.DBF", PARAM_CURRENT_DIR, SalesParams(year, false), false);
  SalesOptions& o = salesOptions;
  o.usualVatCode = SalesVatCodeForYear(year, o.usualVatCode);
  o.vatCode14 = SalesVatCodeForYear(year, o.vatCode14);
  DeriveUsualLumpSum(year, &o.usualLumpSum, &o.usualLumpSum2022);
  o.stored25 = 'N';
  if (year >= FIRST_YEAR_WITHOUT_125_127) o.stored125 = o.stored127 = 'N';
  if (year <= LAST_YEAR_OF_FIXED_CLASSIFICATION) o.printClassification = 'T';
  return result;
}

int SaveEwidencjeOptions() {
  int year = WorkingYear();
  if (year >= FIRST_YEAR_OF_2022_LUMP_SUMS) salesOptions.usualLumpSum2022 = salesOptions.usualLumpSum;
  return Transfer(Section("EWIDENCJE"), "Z5PAEV.DBF", PARAM_CURRENT_DIR, SalesParams(year, true), true);
}

int LoadZusOptions() {
  zusOptions = ZusOptions{};
  int result = Transfer(Section("ZUS"), "Z5PAZU.DBF", PARAM_CURRENT_DIR, ZusParams(), false);
  AdjustZusRates(&zusOptions.rate2, &zusOptions.rate56);
  return result;
}

int SaveZusOptions() { return Transfer(Section("ZUS"), "Z5PAZU.DBF", PARAM_CURRENT_DIR, ZusParams(), true); }

int LoadMagazynOptions() {
  return Transfer(Section("MAGAZYN"), "Z5PAMV.DBF", PARAM_CURRENT_DIR, WarehouseParams(), false);
}

int SaveMagazynOptions() {
  return Transfer(Section("MAGAZYN"), "Z5PAMV.DBF", PARAM_CURRENT_DIR, WarehouseParams(), true);
}

int ChangeToZusDirectory() {
  int length = static_cast<int>(sizeof zusOptions.directory);
  const char* start = LTrimPtr(zusOptions.directory, &length);
  std::string directory(start, RTrimLength(start, length));
  if (directory.empty()) return -1;
  if (directory.back() != '\\') directory += '\\';
  static PathRecord path;   // stays the current path after the change
  TransDir(directory.c_str(), &path);
  return ChangeDir(&path, LOG_ZUS_DIR, CHDIR_QUIET);
}
