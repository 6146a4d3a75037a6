#include "jpk/jpk_fa_xml.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "interchange/xml_writer.h"
#include "jpk/xml_pieces.h"
#include "tables/firm_tables.h"
#include "tables/vat_tables.h"

namespace {

constexpr int MSG_ROOT[] = {253, 254, 255, 264};

DbField* W(const char* name) { return d4field(JpkWork.table, name); }
std::string Trim(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}
std::string Text(const char* name) { return Trim(FldQStr(W(name), 0)); }
bool Reads(const char* name, const char* literal) { return Text(name) == literal; }
double Num(const char* name) { return f4double(W(name)); }

void U(const char* tag, const char* field) { XmlField(2, tag, W(field), 0); }
void T(const char* tag, const char* field) { XmlField(2, tag, W(field), XML_KEEP_CASE); }
void N(const char* tag, const char* field) { XmlField(2, tag, W(field), 0); }
void L(const char* tag, const char* text) { XmlString(2, tag, text, 0); }

std::string TwoDecimals(double value) {
  char text[32];
  value = ROUND(value, 2);
  std::snprintf(text, sizeof text, "%.2f", value == 0 ? 0.0 : value);
  return text;
}

std::string FirmJoined(std::initializer_list<const char*> fields) {
  std::string out;
  for (const char* name : fields) {
    std::string part = Trim(FldQStr(d4field(Z5PAWL.table, name), 0));
    if (part.empty()) continue;
    if (!out.empty()) out += ' ';
    out += part;
  }
  return out;
}

// The rate texts each schema lists: "np" only from variant 4, "oo" and "4" from 2.
bool RateInSchema(const std::string& rate, int variant) {
  if (rate == "np") return variant >= 4;
  if (rate == "oo" || rate == "4") return variant >= 2;
  return true;
}

void Invoice(int variant, bool receipts) {
  bool newLayout = variant >= 3;
  bool foreign = Text("RC2") != "PLN";
  XmlElement(1, XML_OPEN, variant <= 2 ? "Faktura typ=\"G\"" : "Faktura");
  if (newLayout) U("KodWaluty", "RC2");
  N("P_1", "DWY");
  U("P_2A", "NRD");
  U("P_3A", "NAB");
  U("P_3B", "ADR");
  L("P_3C", FirmJoined({"NA1", "NA2"}).c_str());
  L("P_3D", FirmJoined({"KOD", "MIA", "ULI", "NRD", "NRM"}).c_str());
  U("P_4A", "P4A");
  U("P_4B", "P4B");
  U("P_5A", "P5A");
  U("P_5B", "NIP");
  N("P_6", "DAS");
  struct Rate {
    const char *net, *vat, *netTag, *vatTag, *inPln, *inPlnTag;
    int fromVariant, inPlnFromVariant;
  } const rates[] = {
      {"K19", "K20", "P_13_1", "P_14_1", "RN4", "P_14_1W", 1, 3},
      {"K17", "K18", "P_13_2", "P_14_2", "ZZA", "P_14_2W", 1, 3},
      {"K15", "K16", "P_13_3", "P_14_3", "ZPO", "P_14_3W", 1, 3},
      {"RN1", "RN2", "P_13_4", "P_14_4", "P10", "P_14_4W", 2, 3},
  };
  for (const Rate& r : rates) {
    if (variant < r.fromVariant || (Num(r.net) == 0 && Num(r.vat) == 0)) continue;
    N(r.netTag, r.net);
    N(r.vatTag, r.vat);
    if (variant >= r.inPlnFromVariant && foreign) N(r.inPlnTag, r.inPln);
  }
  if (variant >= 2 && Num("RN3") != 0) {
    N("P_13_5", "RN3");
    // Variant 3 has no P_14_5; in 4 it is the VAT of special procedures.
    if (variant == 2 || (variant == 4 && receipts)) L("P_14_5", "0");
    if (variant == 4 && Reads("RC3", "OSS")) N("P_14_5", "VNA");
  }
  XmlField(2, "P_13_6", W("K13"), XML_SKIP_ZERO);
  XmlField(2, "P_13_7", W("K10"), XML_SKIP_ZERO);
  N("P_15", "P15");
  T("P_16", "P16");
  T("P_17", "P17");
  T("P_18", "P18");
  if (newLayout) L("P_18A", Reads("RC1", "T") ? "true" : "false");
  T("P_19", "P19");
  if (Reads("P19", "true")) {
    T("P_19A", "P19A");
    T("P_19B", "P19B");
    T("P_19C", "P19C");
  }
  L("P_20", "false");
  L("P_21", "false");
  if (newLayout) L("P_22", "false");
  T("P_23", "P23");
  T("P_106E_2", "PE2");
  bool margin = Reads("PE3", "true");
  if (newLayout || margin || receipts) T("P_106E_3", "PE3");
  if (margin) T("P_106E_3A", "PE3A");
  U("RodzajFaktury", "ROD");
  if (Reads("ROD", "KOREKTA")) {
    U("PrzyczynaKorekty", "KPK");
    U("NrFaKorygowanej", "KNR");
    U("OkresFaKorygowanej", "KOF");
  }
  if (variant <= 2 && Reads("ROD", "ZAL")) {
    N("ZALZaplata", "ZZA");
    N("ZALPodatek", "ZPO");
  }
  XmlElement(1, 0, "Faktura");
}

void Row(int variant) {
  XmlElement(1, XML_OPEN, variant <= 2 ? "FakturaWiersz typ=\"G\"" : "FakturaWiersz");
  U("P_2B", "NRD");
  U("P_7", "P07");
  U("P_8A", "P8A");
  N("P_8B", "P8B");
  L("P_9A", TwoDecimals(Num("P9A")).c_str());
  L("P_9B", TwoDecimals(Num("P9B")).c_str());
  L("P_10", "0");
  N("P_11", "P11");
  N("P_11A", "P11A");
  // The OSS rate has its element only in the schema of variant 4.
  if (!FieldIsEmpty(W("RC3"))) {
    if (variant >= 4) T("P_12_XII", "RC3");
  } else if (RateInSchema(Text("P12"), variant)) {
    T("P_12", "P12");
  }
  XmlElement(1, 0, "FakturaWiersz");
}

}  // namespace

int zapisz_xml_jpk_fa(const kontekst_jpk* c, int wariant, const char* kod_urzedu, bool paragony) {
  DbTable* work = JpkWork.table;
  XmlElement(0, XML_OPEN, RcQStr(MSG_ROOT[wariant - 1]));
  zapisz_naglowek_jpk(c, wariant, kod_urzedu);
  if (wariant <= 3)
    zapisz_podmiot1_jpk(1, wariant == 3);
  else
    zapisz_podmiot1_jpk_fa4();
  int invoices = 0, rows = 0;
  double invoiceSum = 0, rowSum = 0;
  for (d4top(work); !d4eof(work); d4skip(work, 1)) {
    if (f4char(W("TYP")) != 'S') continue;
    Invoice(wariant, paragony);
    invoices++;
    invoiceSum += Num("P15");
  }
  XmlElement(1, XML_OPEN, "FakturaCtrl");
  XmlString(2, "LiczbaFaktur", std::to_string(invoices).c_str(), 0);
  XmlString(2, "WartoscFaktur", TwoDecimals(invoiceSum).c_str(), 0);
  XmlElement(1, 0, "FakturaCtrl");
  if (wariant <= 2) {
    XmlElement(1, XML_OPEN, "StawkiPodatku");
    const char* const rates[][2] = {{"Stawka1", "0.23"}, {"Stawka2", "0.08"}, {"Stawka3", "0.05"},
                                    {"Stawka4", "0.00"}, {"Stawka5", "0.00"}};
    for (const auto& r : rates) L(r[0], r[1]);
    XmlElement(1, 0, "StawkiPodatku");
  }
  for (d4top(work); !d4eof(work); d4skip(work, 1)) {
    if (f4char(W("TYP")) != 'W') continue;
    Row(wariant);
    rows++;
    rowSum += Num("P11");
  }
  XmlElement(1, XML_OPEN, "FakturaWierszCtrl");
  XmlString(2, "LiczbaWierszyFaktur", std::to_string(rows).c_str(), 0);
  XmlString(2, "WartoscWierszyFaktur", TwoDecimals(rowSum).c_str(), 0);
  XmlElement(1, 0, "FakturaWierszCtrl");
  XmlElement(0, 0, "JPK");
  return invoices;
}
