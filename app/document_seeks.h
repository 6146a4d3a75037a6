// Seeks of documents and catalogues by code, tax number or header record:
// each selects its tag and seeks; the engine's seek result (0 found,
// positive not found, negative an error). The tables are open.
#pragma once

int SeekTowarByKod(const char* code);
int SeekTowarTmpByKod(const char* code);
// The code blank-padded to the contractor code's 20 characters.
int SeekKontrahentByKod(const char* code);
int SeekKontrahentByNip(const char* nip);
// The first line of the purchase or issue header of record `header`.
int SeekZakupLinesByRek(long header);
int SeekWydanieLinesByRek(long header);
