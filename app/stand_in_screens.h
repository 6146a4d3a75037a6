// What the entries of modules not built yet show: a plain browse over the
// table the calling action opened, or a box saying the function is not
// there yet.
#pragma once
#include "tables/catalogue.h"

// The table's fields as read-only columns, in the order of its first tag,
// under the title (UTF-8), until Esc. The browse's result, or -1 when the
// table is not open or the browse cannot start.
int PlainBrowse(const TableHandles& handles, const char* titleUtf8);

// A box naming the function (UTF-8) that is not available yet; 0.
int NotAvailableYet(const char* functionUtf8);
