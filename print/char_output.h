// Character output: every byte of a print job goes through fwrite_spec, which
// keeps the page range, resends the font after a form feed and feeds the
// graphic spool; strings, margins, line and form feeds, the owner's name,
// character pages with a bold layer, and the code-page conversion.
#pragma once
#include <cstdio>

// flag 1: printable text; 0: printer control data. 0, or -1 on an error or
// when the operator cancelled.
int fwrite_spec(const void* buffer, int count, int flag);
int fwrite_spec_maxstring(const char* text, int flag);
int drukuj(const char* text);
int drukuj_bez_marginesu(const char* text);
int drukuj_left_margin(int n);
int drukuj_line_feed(int n);
int drukuj_form_feed();
int drukuj_top_margin();
int drukuj_nazwa_wlasciciela();
// In place, for the chosen family and code page.
void conv_str(char* buffer, int length);
// Rows firstRow .. endRow - 1 of a text page and its bold layer (rows of
// `width` characters); a negative margin takes Printer.leftMargin.
int print_lines(const char* text, const char* bold, int width, int firstRow, int endRow, int lineFeedsBefore,
                int leftMargin);

// The job's output: within the page range, to the raw printer or `file`.
int WriteJobBytes(const void* buffer, int count, FILE* file);
int WriteJobString(const char* text);
