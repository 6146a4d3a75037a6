// The form loop over a window's wigets: entering elements one by one and
// page by page through an edit buffer, testing each value as the cursor
// leaves it, F2 to save, Esc to leave.
#pragma once
#include <cstdint>
#include <vector>
#include "ui/wiget.h"

struct Window4;

// ActivateWindow options.
constexpr int AW_NO_QUESTIONS = 1;
constexpr int AW_DISPLAY = 2;
constexpr int AW_ASK_CONTINUE = 4;
constexpr int AW_ENTER_NO_SAVE = 8;
// Esc in a pick list closes it and keeps the cursor on its element (not Up).
constexpr int AW_PICK_ESC_STAYS = 16;

constexpr int FORM_BUFFER = 64;

struct FormState {
  Wiget* current;
  Wiget* next;
  int32_t replace;
  int32_t display_mode;
  int32_t move_key;
  int32_t result;
  uint16_t check_flags;      // 1: test changed elements after the next key; 2: final test running
  uint8_t loaded;
  std::vector<unsigned char> snapshot;
  int32_t options;
  int32_t field_col, field_row;
  int32_t field_width;
  int32_t scroll;
  int32_t length;
  int32_t decimals;
  int32_t pos;
  char buffer[FORM_BUFFER + 1];
  // Bookkeeping of the loop.
  Window4* window;
  char fixed[FORM_BUFFER + 1];   // non-zero where the buffer holds a fixed character
  int32_t moving;           // a navigation key waits for the next entering
  int32_t pick_escaped;     // the last pick list ended with Esc
  int32_t pick_closed;      // the current element's pick list was closed with Esc: it waits for a key
  uint8_t hint_added;
  FormState* outer;         // the form running when this one started
};

// 27 left, 0x3C00 saved.
int ActivateWindow(int window, Wiget* start, int (*keyRoutine)(int key, void* formData), int options);

// The running form whose window holds the element, or NULL.
FormState* FormOfWiget(const Wiget* w);
// The screen place of an element (its groups' offsets added); 0 when found.
int WigetPlace(Wiget* list, const Wiget* w, int* row, int* col);
// Lays the element's current value into the form's edit buffer.
void FormFillBuffer(FormState* form, Wiget* w);
// The edit buffer as the element's value (texts unmasked, numbers parsed, dates "CCYYMMDD").
void FormBufferText(FormState* form, const Wiget* w, char* out, int outSize);
double FormBufferNumber(FormState* form);
void FormBufferDate(FormState* form, const Wiget* w, char* date8);
// After a refused value: edit position 0, the next key replaces the value.
void FormRefused(FormState* form);
