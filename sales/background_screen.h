// Screen resources drawn as the fixed text behind a window's fields.
#pragma once
#include <cstdint>

// Draws the lines of screen resource `resource` into the current window from
// (row, col); at most `rows` lines (all when 0), cut at the window's right
// edge. The lines' trailing blanks are left out.
void pokaz_tlo(int16_t resource, int row, int col, int rows = 0);
