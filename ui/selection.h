// Selection lists: numbered pick lists of codes with texts. A module builds
// one in an array of its own, shows it with OpenSelectionList and binds it to
// code wigets and to code items of filters, which show the chosen text.
#pragma once
#include <cstdint>
#include "env/text_ref.h"

struct Selection {
  char* text;     // line in the list's text pool; NULL (or an empty text) ends the list
  int32_t code;
};

// DefineSelection flags.
constexpr int SEL_SHOW_CODE = 1;     // the shown number is the code (0x7FFF shown as 0), not the position
constexpr int SEL_TWO_DIGITS = 2;    // the shown number takes two positions, right-aligned

constexpr int32_t SEL_BLANK_CODE = 0x7FFF;
constexpr int SEL_MAX_SHOWN = 100;     // entries the pick window offers
constexpr int LOG_SELECTION_FULL = 89;

// Makes `array` (of `bytes` bytes) the list being defined: zeroes it and takes
// a zeroed text pool of (bytes / sizeof(Selection) - 1) lines of textWidth + 1
// bytes, kept in the first entry's text pointer (one entry stays the end mark).
void ResetSelectionDefinition(Selection* array, int bytes, int textWidth, int prefixWidth);
// Appends an entry to the list being defined: the shown number, '.', blanks
// up to the prefix width, the text cut or padded to the text width, and the
// right-hand text (NULL none) over the line's end. A full list writes log
// code 89 (shown) and adds nothing.
void DefineSelection(int32_t code, TextRef text, const char* rightText, int flags);
// Frees the list's text pool; the list is empty afterwards.
void FreeSelections(Selection* array);

int SelectionCount(const Selection* list);
// Index of the first entry with the code, -1 when absent.
int ListCodeIndex(const Selection* list, int32_t code);

// The pick window " WYBIERZ ": the entry of `code` (the first entry when it is
// absent) lies on window row `row`, the list two columns right of `col`; -2
// centres on the screen. Returns the chosen code, -1 for Esc. F2 chooses like Enter.
int OpenSelectionList(const Selection* list, int32_t code, int row, int col);
