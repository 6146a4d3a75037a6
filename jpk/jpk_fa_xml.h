// The JPK_FA XML written from the work table: the root of the variant's
// schema, the header and taxpayer, one Faktura per invoice record and one
// FakturaWiersz per row record with their control sums.
#pragma once
#include "jpk/jpk_context.h"

// Writes into the open XML file (interchange/xml_writer.h); the work table
// is open. With `paragony` (JPK_FAKT, invoices issued to receipts) P_14_5
// "0" goes with P_13_5 in variants 2 and 4 and P_106E_3 is written in every
// variant. Gives the number of invoice records written.
int zapisz_xml_jpk_fa(const kontekst_jpk* c, int wariant, const char* kod_urzedu, bool paragony);
