// The two-line event description of a form: typed as a short code of the
// standard descriptions ("Z5OPIS") or picked from them with F4, filling
// both description lines of the record being edited.
#pragma once
#include <cstdint>

struct DbField;
struct Get4;

// The description lines of the record being edited; the module sets them.
extern DbField* cel_opisu_1;
extern DbField* cel_opisu_2;

// Key routine of a description field; the routine's data is its mode:
// 0 the first line into the field and both into the targets, 1 the first
// line into the field, 2 both lines one after the other into the field.
// Nothing is written past the field's width. Returns the key.
int opis_f4_lista(Get4* get, char* editBuffer, int32_t mode);
// F4 of a description widget: the pick list of the descriptions; a choice
// copies its two lines into the two fields. Enter when chosen, else the key
// the list ended with.
int wybierz_opis_do_pol(DbField* first, DbField* second);
// Validator of the same field, in the mode of the last key routine call: a
// text of 1 to 5 characters found as a code fills as in modes 0 and 1; an
// empty text is refused in mode 0. 0 accepts.
int opis_wg_kodu(Get4* get);
