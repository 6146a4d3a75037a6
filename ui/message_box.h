// Message boxes: the one modal box of the system (a framed, centred window
// with a coloured title, centred lines and a prompt line that names the keys
// it waits for), its four everyday forms, the standard questions of forms,
// the get key routines that take only fixed answers, the memory and disk
// box, numbers with thousands groups, date displays and the busy sign.
#pragma once
#include <cstdint>
#include "env/text_ref.h"

struct Get4;
struct DbField;

// Box kinds (flags bits 2-3).
constexpr int MB_WARNING = 0x00;   // "UWAGA"
constexpr int MB_ERROR = 0x04;     // "BŁĄD"
constexpr int MB_QUESTION = 0x08;  // "PYTANIE"
constexpr int MB_INFO = 0x0C;      // "INFORMACJA"
// Prompts (flags bits 4-5).
constexpr int MB_ANY_KEY = 0x00;   // any key, returns 0
constexpr int MB_YES_ESC = 0x10;   // 'T', 't' or Esc, returns the key
constexpr int MB_F2 = 0x20;        // F2, returns 0
constexpr int MB_ESC_NO = 0x30;    // Esc, 'N' or 'n', returns the key
// Further flags.
constexpr int MB_OWN_TITLE = 0x01;  // the first text is the title
constexpr int MB_NO_PROMPT = 0x02;  // the prompt line is not shown; the box still waits as its prompt says

// The texts end at the first empty one; -1 when MB_OWN_TITLE is set and the
// title is empty.
int MessageWindowList(int flags, const TextRef* texts);
template <class... Texts>
int MessageWindow(int flags, Texts... texts) {
  const TextRef list[] = {TextRef(texts)..., TextRef()};
  return MessageWindowList(flags, list);
}

// A box over a text of several lines split at line feeds (carriage returns
// dropped), titled by the kind when the title is NULL: how the lower layers'
// messages and questions reach the operator.
int MessageWindowText(int flags, const char* title, const char* text);

int Uwaga(TextRef text);
int Alarm(TextRef text);
int Pytanie(TextRef text);   // 't' or 'T' for yes; callers treat Esc (27) as no
int Informacja(TextRef text);

// The questions of forms: 1 yes, 0 no; 1 without a box when the
// Environment's confirmSave is 'N'.
int LeaveQuestion();          // " Czy rezygnujesz z zapisu ?", Esc is yes
int SaveQuestion(int mode);   // mode bit 4 asks for the item, else for the changes
int ContinueQuestion();

// The body of a two-letter key routine: a blank buffer gets `blankValue`;
// reads keys until one of the two letters (either case, writing its answer
// and returning Enter) or a key that ends editing; any other key calls `refuse`.
int FixedAnswer(char* buffer, const char* blankValue, int firstLetter, const char* first, int secondLetter,
                const char* second, void (*refuse)());
// Get key routines: read keys until a valid answer, write it into the edit
// buffer and return Enter; a key that ends editing comes back at once.
int wybierz_P_W(Get4* get, char* buffer, int32_t data);       // 'P' or 'W'
int WybierzTakNie(Get4* get, char* buffer, int32_t data);     // "TAK" or "NIE"
int wybierz_tak_nie(Get4* get, char* buffer, int32_t data);   // 'T' or 'N'

void test_coreleft();
// Bytes of the current directory's file system, saturated at 0xFFFFFFFF;
// both 0 when it cannot be read.
void count_disk_space(uint32_t* total, uint32_t* freeBytes);

// Groups the number text right-aligned in `width` characters by threes with
// blanks, the groups fixed by the width; the buffer holds width + width / 3 + 1
// bytes. Returns the blanks inserted; the text ends after width + blanks.
int GroupThousands(char* text, int width, int decimals);
void w4double_f(int row, int col, double value, int width, int decimals);
// A date as "DD-MM/YY" (8 blanks when empty) in the current window.
void DispDateFld(int row, int col, DbField* field);
void DispDateLong(int row, int col, int32_t dayNumber);

// Advances the busy sign in the last column of the key-hint line.
void ShowBusySpinner();
