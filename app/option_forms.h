// Pieces the option windows share: the fixed lists of their list fields
// and the first page of a form of several pages.
#pragma once

struct Selection;
struct Wiget;

// Goods and services marks: 1 to 13, and this one for none.
constexpr int NO_MARK = 14;
// The year from which the marks and procedures have their newer texts.
constexpr int NEW_MARKS_YEAR = 2022;

// The texts (UTF-8, up to a NULL) into the list: numbered from 1, stored as
// their position or as codes[i].
void FillOptionList(Selection* list, int bytes, int width, const char* const* texts, const int* codes = nullptr);

// "OD CEN NETTO", "OD CEN BRUTTO", "PYTAJ".
extern const char* const OPTION_PRINT_PRICES[];
// "OBIE CENY", "TYLKO NETTO", "TYLKO BRUTTO".
extern const char* const OPTION_PICK_PRICES[];
// The thirteen goods and services marks of the working year, then "BRAK".
const char* const* GtuMarkTexts(int workingYear);

// Activates the form's window and draws its first page whole: the form loop
// draws a page's fixed texts only when it turns to it.
void ShowFirstOptionsPage(int window, Wiget* list);
