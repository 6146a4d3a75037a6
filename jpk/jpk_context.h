// The context of one JPK export run: the sums of the document being turned
// into an invoice record, the period and its month, and the OSS sums.
#pragma once

struct kontekst_jpk {
  // Per-document sums, each named for the work-table field it ends in.
  double suma_net, kurs, suma_bru, suma_k31, suma_k11, suma_k21, suma_k12, suma_k22, suma_k10, suma_k13, suma_k14,
      suma_k15, suma_k16, suma_k17, suma_k18, suma_k19, suma_k20, suma_rn1, suma_rn2;
  char data_od[9];   // "CCYYMMDD"
  char data_do[9];
  int miesiac;       // 1-12, 0 for a period over several months
  // OSS lines: net plus VAT, and net and VAT by the OSS rate codes 1 to 4.
  double oss_suma, oss_netto[4], oss_vat[4];
};
