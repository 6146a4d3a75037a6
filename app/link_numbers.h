// A linked document's number (the correction's or the pro forma's link to
// its invoice) as the link field stores it and as the document prints it.
#pragma once
#include <string>

struct DbField;
struct DbTable;

// A linked document's number typed by hand, in the form the link of the
// current header of `t` holds: with standard numbers (RE4 not 'N') a number
// typed as "FV/1" or in fixed width becomes the fixed width of the register's numbers
// ("  FV/    1"); any other text stays as typed.
std::string StoredLinkNumber(DbTable* t, DbField* link, const std::string& typed);
// The linked document's number as that document prints it ("FV/1"), read
// from the link in either form; any other text trimmed.
std::string PrintedLinkNumber(DbTable* t, DbField* link);
