#include "fiscal/printer_params.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "app/param_store.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"

DetalParams parametryDetal;
PosnetParams parametryPosnet;
TpLineParams parametryTpLine;
OrhmetParams parametryOrhmet;
ElzabParams parametryElzab;
SparkParams parametrySpark;
char elzabOutsideProgram = 'N';

namespace {

constexpr int MSG_INVOICE = 20093;   // "FAKTURA nr"
constexpr int MSG_BILL = 20163;      // "RACHUNEK nr"

enum class Kind { Char, Text, Fixed, Int };

// One parameter of a set: where it lives and its default.
struct Param {
  int number;
  Kind kind;
  void* target;
  int size;                 // Text: the buffer with its terminator; Fixed: the exact length
  char charDefault;
  int intDefault;
  const char* textDefault;  // UTF-8 (Text, Fixed) or NULL
  int messageDefault;       // Text: a message number, or 0
};

Param Ch(int number, char* target, char byDefault) { return {number, Kind::Char, target, 1, byDefault, 0, nullptr, 0}; }
Param In(int number, int* target, int byDefault) { return {number, Kind::Int, target, 0, 0, byDefault, nullptr, 0}; }
Param Tx(int number, char* target, int size, const char* byDefault = nullptr, int message = 0) {
  return {number, Kind::Text, target, size, 0, 0, byDefault, message};
}
Param Fx(int number, char* target, int length, const char* byDefault) {
  return {number, Kind::Fixed, target, length, 0, 0, byDefault, 0};
}

void Read(ParamTable* ctx, const Param& p) {
  char* text = static_cast<char*>(p.target);
  switch (p.kind) {
    case Kind::Char: GetParamChar(ctx, p.number, text, p.charDefault); break;
    case Kind::Int: GetParamInt(ctx, p.number, static_cast<int*>(p.target), p.intDefault); break;
    case Kind::Fixed: {
      std::string byDefault = Utf8ToMazText(p.textDefault);
      std::memcpy(text, byDefault.data(), static_cast<size_t>(p.size));
      char stored[PARAM_TEXT_MAX + 1];
      std::memcpy(stored, text, static_cast<size_t>(p.size));
      GetParam(ctx, p.number, 'C', stored, p.size);
      std::memcpy(text, stored, static_cast<size_t>(p.size));
      break;
    }
    case Kind::Text:
      if (p.textDefault != nullptr) {
        std::string byDefault = Utf8ToMazText(p.textDefault);
        std::memset(text, ' ', static_cast<size_t>(p.size - 1));
        std::memcpy(text, byDefault.data(), std::min(byDefault.size(), static_cast<size_t>(p.size - 1)));
        GetParam(ctx, p.number, 'C', text, p.size - 1);
      } else {
        GetParamText(ctx, p.number, text, p.size, p.messageDefault);
      }
      text[p.size - 1] = '\0';
      break;
  }
}

void Write(ParamTable* ctx, const Param& p) {
  const char* text = static_cast<const char*>(p.target);
  switch (p.kind) {
    case Kind::Char: SetParam(ctx, p.number, 'C', text, 1); break;
    case Kind::Int: SetParamInt(ctx, p.number, *static_cast<const int*>(p.target)); break;
    case Kind::Fixed: SetParam(ctx, p.number, 'C', text, p.size); break;
    case Kind::Text: SetParam(ctx, p.number, 'C', text, static_cast<int>(strnlen(text, p.size - 1))); break;
  }
}

struct ParamSet {
  int k2;
  const char* section;      // UTF-8
  const char* fileName;
};

constexpr ParamSet DETAL{1, "DETAL", "Z5PADV.DBF"};
constexpr ParamSet POSNET{2, "POSNET", "Z5PAPO.DBF"};
constexpr ParamSet TPLINE{3, "COMPART", "Z5PACO.DBF"};
constexpr ParamSet ORHMET{5, "ORHMET", "Z5PAOR.DBF"};
constexpr ParamSet ELZAB{4, "ELZAB", "Z5PAEL.DBF"};
constexpr ParamSet SPARK{2, "SPARK", "Z5PASP.DBF"};

int OpenSet(ParamTable* ctx, const ParamSet& set) {
  *ctx = ParamTable{};
  ctx->k1 = 1;
  ctx->k2 = set.k2;
  ctx->section = set.section;
  return OpenParamTable(ctx, set.fileName, 0, PARAM_CURRENT_DIR);
}

// Opens the set, reads (after clearing the block) or writes every parameter
// and closes it.
int Transfer(const ParamSet& set, void* block, size_t blockSize, const std::vector<Param>& params, bool write) {
  ParamTable ctx{};
  if (OpenSet(&ctx, set) != 0) return -1;
  if (!write) std::memset(block, 0, blockSize);
  for (const Param& p : params) write ? Write(&ctx, p) : Read(&ctx, p);
  d4close(ctx.table);
  return ctx.error;
}

void Letters(std::vector<Param>& out, MakeLetters& l, const int (&numbers)[9], const char* defaults) {
  char* targets[] = {&l.basic, &l.reduced1, &l.reduced2, &l.zero, &l.exempt, &l.margin, &l.refund, &l.spare1, &l.spare2};
  for (int i = 0; i < 9; i++) out.push_back(Ch(numbers[i], targets[i], defaults[i]));
}

constexpr char LETTERS[] = "ABCDEFGXY";

std::vector<Param> DetalList() {
  DetalParams& d = parametryDetal;
  return {Tx(1, d.receiptIdent, 5),       Tx(2, d.receiptSuffix, 10),     Tx(3, d.invoiceIdent, 5),
          Tx(4, d.invoiceSuffix, 10),     Tx(5, d.thirdIdent, 5),         Tx(6, d.thirdSuffix, 10),
          Ch(7, &d.vatFromNet, 'N'),      Ch(8, &d.useAccounts, 'N'),     Ch(9, &d.searchByName, 'N'),
          Ch(10, &d.updateStock, 'N'),    Ch(11, &d.printAfterSave, 'N'), Ch(12, &d.netSpecification, 'N'),
          In(14, &d.printerType, 1),      In(15, &d.comPort, 1),          Ch(16, &d.paidWindow, 'N'),
          Ch(17, &d.stored17, 'T'),       Ch(18, &d.monthOnly, 'N'),      In(19, &d.sellingPrice, 1),
          In(20, &d.pricesShown, 1),      Ch(21, &d.priceChange, 'T'),    Tx(22, d.receiptName, 41, "PARAGON nr"),
          Tx(23, d.invoiceName, 41, nullptr, MSG_INVOICE),                Tx(24, d.billName, 41, nullptr, MSG_BILL),
          Tx(25, d.paymentForm, 26),      Ch(27, &d.remarks, 'T'),        In(28, &d.entryStart, 1)};
}

std::vector<Param> PosnetList() {
  PosnetParams& p = parametryPosnet;
  std::vector<Param> list = {In(1, &p.errorDisplay, 0), In(28, &p.printMode, 0)};
  Letters(list, p.letters, {3, 4, 10, 5, 6, 7, 26, 8, 9}, LETTERS);
  for (int i = 0; i < 5; i++) list.push_back(Tx(11 + i, p.trainingHeader[i], 41));
  for (int i = 0; i < 2; i++) list.push_back(Tx(17 + i, p.header[i], 41));
  for (int i = 0; i < 3; i++) list.push_back(Tx(19 + i, p.footer[i], 41));
  for (const Param& more : {Fx(22, p.fixed22, 2, "00"), Fx(23, p.fixed23, 1, "0"), Ch(24, &p.shortSummary, 'N'),
                            Ch(25, &p.drawer, 'N'), Ch(27, &p.detailedDisplay, 'N'), Ch(29, &p.onlineProtocol, 'N'),
                            Ch(30, &p.printNip, 'N')})
    list.push_back(more);
  return list;
}

std::vector<Param> TpLineList() {
  TpLineParams& t = parametryTpLine;
  std::vector<Param> list;
  Letters(list, t.letters, {1, 2, 8, 3, 4, 5, 19, 6, 7}, LETTERS);
  for (int i = 0; i < 8; i++) list.push_back(Tx(9 + i, t.header[i], 25));
  list.push_back(In(17, &t.device, 0));
  list.push_back(In(18, &t.cashier, 0));
  return list;
}

std::vector<Param> OrhmetList() {
  OrhmetParams& o = parametryOrhmet;
  std::vector<Param> list;
  Letters(list, o.letters, {1, 2, 8, 3, 4, 5, 30, 6, 7}, LETTERS);
  for (int i = 0; i < 8; i++) list.push_back(Tx(9 + i, o.stored9[i], 19));
  for (int i = 0; i < 2; i++) list.push_back(Tx(18 + i, o.header[i], 19));
  for (int i = 0; i < 8; i++) list.push_back(Tx(20 + i, o.stored20[i], 19));
  list.push_back(Fx(28, o.terminal, 2, "00"));
  list.push_back(Fx(29, o.cashier, 2, "00"));
  return list;
}

std::vector<Param> ElzabList() {
  ElzabParams& e = parametryElzab;
  std::vector<Param> list;
  Letters(list, e.letters, {1, 2, 8, 3, 4, 5, 12, 6, 7}, LETTERS);
  list.push_back(Fx(9, e.terminal, 2, "00"));
  list.push_back(Fx(10, e.cashier, 2, "00"));
  return list;
}

std::vector<Param> SparkList() {
  SparkParams& s = parametrySpark;
  std::vector<Param> list;
  Letters(list, s.codes, {3, 4, 10, 5, 6, 7, 19, 8, 9}, "127304756");
  for (int i = 0; i < 5; i++) list.push_back(Tx(11 + i, s.header[i], 29));
  list.push_back(Tx(16, s.stored16, 1));
  list.push_back(Tx(17, s.device, 3, "01"));
  list.push_back(Tx(18, s.cashier, 6, "00001"));
  return list;
}

// The section names live as long as the program, in the program's code page.
const char* SectionName(const ParamSet& set) {
  static std::deque<std::string> names;
  std::string name = Utf8ToMazText(set.section);
  for (const std::string& known : names)
    if (known == name) return known.c_str();
  names.push_back(name);
  return names.back().c_str();
}

ParamSet Named(ParamSet set) {
  set.section = SectionName(set);
  return set;
}

}  // namespace

void DFLitery(const MakeLetters& l, char* out) {
  const char letters[9] = {l.basic, l.reduced1, l.reduced2, l.refund, l.zero, l.exempt, l.margin, l.spare1, l.spare2};
  std::memcpy(out, letters, sizeof letters);
}

int Z5PADV(ParamTable* ctx) { return OpenSet(ctx, Named(DETAL)); }
int OtworzParametryPosnet(ParamTable* ctx) { return OpenSet(ctx, Named(POSNET)); }
int OtworzParametryTpLine(ParamTable* ctx) { return OpenSet(ctx, Named(TPLINE)); }
int OtworzParametryOrhmet(ParamTable* ctx) { return OpenSet(ctx, Named(ORHMET)); }
int OtworzParametryElzab(ParamTable* ctx) { return OpenSet(ctx, Named(ELZAB)); }
int OtworzParametrySpark(ParamTable* ctx) { return OpenSet(ctx, Named(SPARK)); }

int CzytajParametryDETAL() { return Transfer(Named(DETAL), &parametryDetal, sizeof parametryDetal, DetalList(), false); }
int ZapiszParametryDETAL() { return Transfer(Named(DETAL), &parametryDetal, sizeof parametryDetal, DetalList(), true); }
int CzytajParametryPosnet() {
  return Transfer(Named(POSNET), &parametryPosnet, sizeof parametryPosnet, PosnetList(), false);
}
int ZapiszParametryPosnet() {
  return Transfer(Named(POSNET), &parametryPosnet, sizeof parametryPosnet, PosnetList(), true);
}
int CzytajParametryTpLine() {
  return Transfer(Named(TPLINE), &parametryTpLine, sizeof parametryTpLine, TpLineList(), false);
}
int ZapiszParametryTpLine() {
  return Transfer(Named(TPLINE), &parametryTpLine, sizeof parametryTpLine, TpLineList(), true);
}
int CzytajParametryOrhmet() {
  return Transfer(Named(ORHMET), &parametryOrhmet, sizeof parametryOrhmet, OrhmetList(), false);
}
int ZapiszParametryOrhmet() {
  return Transfer(Named(ORHMET), &parametryOrhmet, sizeof parametryOrhmet, OrhmetList(), true);
}
int CzytajParametryElzab() {
  int result = Transfer(Named(ELZAB), &parametryElzab, sizeof parametryElzab, ElzabList(), false);
  elzabOutsideProgram = 'N';
  return result;
}
int ZapiszParametryElzab() {
  return Transfer(Named(ELZAB), &parametryElzab, sizeof parametryElzab, ElzabList(), true);
}
int CzytajParametrySpark() {
  return Transfer(Named(SPARK), &parametrySpark, sizeof parametrySpark, SparkList(), false);
}
int ZapiszParametrySpark() {
  return Transfer(Named(SPARK), &parametrySpark, sizeof parametrySpark, SparkList(), true);
}
