// The full-screen page viewer and editor of character pages: the text layer
// with the bold layer over it, typing in normal or bold, frame drawing from
// the numeric keypad keys, paging between the pages of a printout.
#pragma once

// A window by its corners (row, column) and (row + height - 1, column +
// width - 1), popped up with a double-line border; its handle or -1.
int w4popup_frame(int row, int column, int height, int width, const char* title);
// Shows (and with `edit` changes) a page of rows x columns in both layers;
// the key that ended it: Esc, F2, Ctrl+PgUp or Ctrl+PgDn; -1 for an empty page.
int edytuj_memory(char* text, char* bold, int rows, int columns, const char* title, int pageNo, int pageCount,
                  int edit);
