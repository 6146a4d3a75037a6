// Screen resources drawn as the fixed text behind a window's fields.
#pragma once
#include <cstdint>
#include <string>

// The lines of screen resource `resource` joined by line feeds, each cut to
// `width` characters and without its trailing blanks; at most `rows` lines
// (all when 0). A static wiget of a form shows it.
std::string tekst_tla(int16_t resource, int width, int rows = 0);
// Draws the same into the current window from (row, col), cut at the
// window's right edge.
void pokaz_tlo(int16_t resource, int row, int col, int rows = 0);
