#include "app/browse_search.h"

#include <cstring>
#include <string>

#include "db/db_index.h"
#include "db/db_scan.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/env_state.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "ui/browse.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

struct DefinitionTarget {
  SearchField* array = nullptr;
  int count = 0;
  int capacity = 0;
} target;

// Set by a seek that found its key; kept between openings of the window.
bool found = false;
// The element list of the open window (one window runs at a time).
Wiget* shownList = nullptr;

const std::string nextHint = Utf8ToMazText("Następny");
const std::string orderNote = Utf8ToMazText("(porządek)  %i/%i");

constexpr int ELEMENTS_PER_ITEM = 4;
constexpr int SEARCH_TEXT = 64;

int ItemType(const SearchField* item) { return static_cast<int>(item->flags & WF_TYPE_MASK); }

SearchField* ItemOf(const Wiget* w) {
  SearchField* item;
  std::memcpy(&item, w->user_bytes, sizeof item);
  return item;
}

void ShowAgain(int window, Wiget* list) {
  w4activate(window);
  DisplayPageWigets(nullptr, list, 0, 0, WD_ALL);
}

bool Matches(const char* text, int length, const char* wanted, int n) {
  for (int p = 0; p + n <= length; p++) {
    int i = 0;
    while (i < n && EnvToUpper(static_cast<unsigned char>(text[p + i])) ==
                        EnvToUpper(static_cast<unsigned char>(wanted[i])))
      i++;
    if (i == n) return true;
  }
  return false;
}

bool RecordMatches(const SearchField* item, const char* wanted, int n) {
  if (item->field && *item->field)
    return Matches(f4ptr(*item->field), static_cast<int>(f4len(*item->field)), wanted, n);
  const char* text = item->text ? item->text() : nullptr;
  return text && Matches(text, static_cast<int>(std::strlen(text)), wanted, n);
}

// 1 when the operator ended on a match with Enter or Esc.
int PatternSearch(BrowseContext* browse, SearchContext* context, Wiget* list, const SearchField* item,
                  const char* wanted) {
  DbScanCtx* scan = &browse->scan;
  long start = d4recno(browse->table);
  if (x4top(scan) != 0) {
    Uwaga(TextRef(MSG_NOT_FOUND));
    return 0;
  }
  if (x4go(scan, start) < 0) return 0;
  int n = static_cast<int>(std::strlen(wanted));
  add_help_line();
  int direction = 1, ends = 0, result = 0;
  bool hidden = false;
  long lastFound = start;
  auto hide = [&] {
    if (!hidden) w4deactivate(context->window);
    hidden = true;
  };
  for (;;) {
    int r = x4skip(scan, direction);
    if (r < 0) break;
    if (r == 0 && !RecordMatches(item, wanted, n)) continue;
    if (r > 0) {
      if (ends < 3) {
        // Nothing found yet: from the first end back over the whole table.
        direction = -direction;
        if (++ends == 1) continue;
        Uwaga(TextRef(MSG_NOT_FOUND));
        hide();
        browse_call(0, d4recno(browse->table));
        break;
      }
      Uwaga(TextRef(MSG_NO_MORE));
      if (x4go(scan, lastFound) < 0) break;
    }
    ends = 3;
    hide();
    lastFound = d4recno(browse->table);
    browse_call(0, lastFound);
    int key;
    do {
      set_fun_help("\x1F", nextHint.c_str(), 9);
      set_fun_help("\x1E", "Poprzedni", 10);
      key = g4char();
      remove_fun_help("\x1F");
      remove_fun_help("\x1E");
    } while (key == KEY_HOME || key == KEY_END);
    if (key == KEY_DOWN) {
      direction = 1;
      continue;
    }
    if (key == KEY_UP) {
      direction = -1;
      continue;
    }
    if (key == KEY_ENTER || key == KEY_ESC) result = 1;
    break;
  }
  remove_help_line();
  if (hidden) ShowAgain(context->window, list);
  return result;
}

int SearchHook(WigetEvent* event, Wiget* w, void* formData) {
  auto* context = static_cast<SearchContext*>(formData);
  if (event->code == WE_ENTER) {
    context->last_source = w->source.variable;
    return 0;
  }
  if (event->code != WE_KEY || event->key != KEY_ENTER) return 0;
  SearchField* item = ItemOf(w);
  char text[SEARCH_TEXT] = {};
  switch (WigetType(w)) {
    case W_TEXT:
      StrCopy(text, SEARCH_TEXT, WigetAsQStr(w, 1));
      break;
    case W_SHORT:
    case W_INT: {
      int width = static_cast<int>((w->flags >> 8) & 0x1F);
      c4ltoa(WigetAsLong(w), text, width);
      text[width] = 0;
      break;
    }
    case W_DATE:
      WigetAsDate(w, text);
      break;
    default:
      ErrLogMessage(EL_ERROR | EL_BLANK_BEFORE | EL_TEXT, LOG_SEARCH_BAD_TYPE, item->label);
      return 0;
  }
  found = false;
  BrowseContext* browse = CurrentBrowse;
  if (item->tag) {
    InitDbScan(&browse->scan, nullptr, nullptr, 0, 0);
    d4tag_select(browse->table, *item->tag);
    int r = x4seek(&browse->scan, text);
    if (r == 0) {
      event->key = KEY_F2;
      found = true;
    } else if (r == 2) {
      Uwaga(TextRef(MSG_NOT_FOUND));
      w4deactivate(context->window);
      browse_call(0, d4recno(browse->table));
      ShowAgain(context->window, shownList);
      event->key = 0;
    } else if (r == 3) {
      Uwaga(TextRef(MSG_NOT_FOUND));
      DbScan(&browse->scan, DBSCAN_SAVED_TAG | DBSCAN_SAVED_RECORD);
      event->key = 0;
    }
  } else {
    Environment* env = EnvCurrent();
    int row = env->caretRow, col = env->caretColumn;
    w4cursor(-1, -1);
    event->key = PatternSearch(browse, context, shownList, item, text) == 1 ? KEY_F2 : 0;
    w4cursor(row, col);
  }
  CaseValidateWiget(w, nullptr);
  return 0;
}

}  // namespace

void InitSzukajPola(SearchField* array, int bytes) {
  target.array = array;
  target.count = 0;
  target.capacity = array && bytes > 0 ? bytes / static_cast<int>(sizeof(SearchField)) : 0;
}

void BlankSearchBuffer(char* buffer, int width) {
  std::memset(buffer, ' ', static_cast<size_t>(width));
  buffer[width] = '\0';
}

SearchField* DefineSzukajPole(const char* label, DbField** field, DbTag** tag, void* buffer, uint32_t flags) {
  if (target.count >= target.capacity) {
    ErrLogMessage(EL_ERROR | EL_NO_TEXT, LOG_SEARCH_LIST_FULL, TextRef());
    return nullptr;
  }
  SearchField* item = &target.array[target.count++];
  *item = SearchField{};
  if (target.count > 1) item[-1].end_mark &= ~1u;
  item->label = label;
  item->field = field;
  item->tag = tag;
  item->buffer = buffer;
  item->flags = flags;
  item->end_mark = 1;
  int type = ItemType(item);
  if ((type == W_SHORT || type == W_INT) && (flags & 0x1F00) == 0)
    ErrLogMessage(EL_ERROR | EL_BLANK_BEFORE | EL_TEXT, LOG_SEARCH_NO_WIDTH, label);
  return item;
}

int OknoSzukaj(SearchContext* context, SearchField* first) {
  int n = 0, longestLabel = 0, widest = 20;
  for (SearchField* item = first;; item++) {
    n++;
    longestLabel = WiekszaLiczba(longestLabel, static_cast<int>(std::strlen(item->label)));
    if (ItemType(item) == W_TEXT)
      widest = WiekszaLiczba(widest, static_cast<int>(std::strlen(static_cast<char*>(item->buffer))));
    if (item->end_mark & 1) break;
  }
  // Room for the elements as they are; the definition counts them at its own element size.
  auto* list = static_cast<Wiget*>(take_mem(sizeof(Wiget) * ELEMENTS_PER_ITEM * n));
  if (list == nullptr) return -1;
  ResetWigetsDefinition(list, n * ELEMENTS_PER_ITEM * WIGET_BYTES, 1);
  int c = longestLabel + 5;
  int lastNoteLength = 0;
  for (int k = 1; k <= n; k++) {
    SearchField* item = &first[k - 1];
    DefineWigetEx(0, 0, WigetSource(), 0, W_PAGE);
    char* label = SerialQStr_('.', longestLabel + 2, 0);
    CharCopy(label, item->label, static_cast<int>(std::strlen(item->label)));
    DefineWigetEx(1, 2, WigetMsg(label), 0, W_MESSAGE);
    Wiget* input = DefineWigetEx(1, c, WigetVar(item->buffer), 0, item->flags);
    if (input) {
      input->hook = SearchHook;
      std::memcpy(input->user_bytes, &item, sizeof item);
    }
    char* note = PrintfQStr(item->tag ? orderNote.c_str() : "(wzorzec)   %i/%i", k, n);
    lastNoteLength = static_cast<int>(std::strlen(note));
    DefineWigetEx(1, c + widest + 1, WigetMsg(note), 0, W_MESSAGE);
  }
  int width = c + widest + lastNoteLength;
  int previous = w4select(-1);
  shownList = list;
  context->window = DefineSeekWindow(26, (80 - width) / 2, 1, width, nullptr, 0x81, list, context);
  if (context->window >= 0) {
    add_help_line();
    Wiget* start = context->last_source ? WigetBySource(list, WigetVar(context->last_source)) : nullptr;
    ActivateWindow(context->window, start, nullptr, AW_NO_QUESTIONS);
    remove_help_line();
  }
  FreeWigets(list);
  if (context->window >= 0) {
    w4deactivate(context->window);
    w4close(context->window);
  }
  w4select(previous);
  shownList = nullptr;
  free_mem(&list);
  if (found) return browse_call(0, d4recno(CurrentBrowse->table));
  return 0;
}
