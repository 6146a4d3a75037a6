// What every table of the catalogue shares: the handle set its opener binds,
// the working year that goes into most names, and the main options that
// choose the contractors' directory.
#pragma once
#include "db/dbf_definition.h"

struct DbIndex;
struct DbTag;

// Enough for the widest table (236 fields) and the most tags.
constexpr int HANDLE_FIELDS = 236;

// One process-wide set per table (two for the sales tables): the opener fills
// it, every module reads and writes the table through it. d4close clears the
// table member; the handles keep their last values.
struct TableHandles {
  DbTable* table;
  DbIndex* index;
  DbField* field[HANDLE_FIELDS];   // in definition order, the first ones bound
  DbTag* tag[DBF_DEF_MAX_TAGS];
};

// The year the program works in (main option 3, kept in the Environment).
int WorkingYear();

// Main options 71 ('T': the contractors are shared outside the firm) and 72
// (the directory of the shared contractors, blank for the common directory);
// the loader of the main options fills them.
extern char optionSharedContractors;
extern char optionContractorsDir[81];
