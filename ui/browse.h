// Browse lists: the common screen of the modules. A BrowseContext holds the
// table, the definition lists of what to show and edit, the windows and the
// module's hooks; contexts are stacked and every routine here works on the
// top one. Also the common browse keys (append, modify, delete, stamp).
#pragma once
#include <cstdint>
#include "db/db_scan.h"
#include "env/text_ref.h"

struct DbTable;
struct DbTag;
struct DbField;
struct ScrollColumn;
struct TextCtrl;
struct EditCtrl;
struct TabuColumn;
struct Wiget;

// A hook answers 0 to let the step go on.
typedef int (*BrowseHook)();
typedef int (*BrowseScanRoutine)(DbScanCtx* scan);
typedef int (*BrowseSkipRoutine)(DbScanCtx* scan, long n);
typedef int (*BrowseAppendRoutine)(DbTable* table, int (*before)(int), int (*after)(int));
typedef int (*BrowseKeyHook)(int key);
typedef void (*BrowseShowHook)();
typedef int16_t (*BrowseResource)();   // a numbered resource
typedef void (*BrowseLinesFixup)(char* lines);
typedef ScrollColumn* (*BrowseColumnsRoutine)();

// The slots of modify_hooks, in the order the modify action calls them.
enum BrowseModifyHook {
  MODIFY_BEFORE = 0,    // the record is locked and read again; non-zero cancels the modify
  MODIFY_PREPARE = 1,   // empty by default: after the record is shown, before the form; non-zero cancels
  MODIFY_SAVE = 2,      // after F2 and the "M" stamp; non-zero: nothing more, no write
  MODIFY_AFTER = 3,     // when the save hook gave 0; then the record is written unless this gives non-zero
  MODIFY_CANCEL = 4,    // the operator left the form without saving; result ignored
  MODIFY_HOOKS = 5
};

struct BrowseContext {
  BrowseScanRoutine top_fn;
  BrowseScanRoutine bottom_fn;
  BrowseSkipRoutine skip_fn;
  BrowseAppendRoutine append_fn;
  BrowseHook before_new;
  int (*before_write)(int);
  int (*after_write)(int appended);
  BrowseHook on_cancel;
  BrowseHook on_validate;
  BrowseHook after_append;
  BrowseHook modify_hooks[MODIFY_HOOKS];
  BrowseHook before_delete;
  BrowseHook after_delete;
  BrowseKeyHook key_hook;
  BrowseKeyHook pre_key_hook;
  BrowseShowHook after_show_record;
  BrowseShowHook after_show_edit;
  BrowseShowHook before_wigets;
  DbScanFilter filter_fn;
  intptr_t filter_data;      // a FilterSet* when the filter is FilterFunction
  DbScanCtx scan;
  int (*saved_char_routine)();
  int menu_window;
  ScrollColumn* columns;
  TextCtrl* record_texts;
  EditCtrl* append_edits;
  TextCtrl* edit_texts;
  TabuColumn* print_columns;
  Wiget* record_wigets;
  BrowseResource record_lines_source;
  BrowseLinesFixup record_lines_fixup;
  int record_lines_count;
  BrowseResource edit_lines_source;
  BrowseLinesFixup edit_lines_fixup;
  int edit_lines_count;
  int list_rows;
  int record_height;
  int record_row;
  int edit_height;
  int edit_row;
  int list_width;
  DbTable* rel_table;
  DbTag* rel_tag;
  DbField* rel_key_field;
  DbField* rel_link_field;
  DbField* stamp_field;
  ScrollColumn* rel_columns;
  BrowseColumnsRoutine rel_columns_fn;
  TextRef rel_title;
  TextRef print_title, print_subtitle;
  TextRef title;
  const char* footer;
  DbTable* table;
  int list_window, rel_window, record_window, edit_window, seek_window;
  int current_row;
  int result;
  uint8_t is_empty;
  uint8_t form_start;
  uint8_t rel_shown;
  uint8_t edit_mode;
  uint8_t modify_mode;
  uint8_t at_top, at_end;
  DbTag* shown_tag;
  int saved_caret_row, saved_caret_col;
  long limit_value;
  DbField* limit_field;
  long last_appended;
  BrowseContext* previous;
  // Windows of zrob_browse itself.
  int blank_window, footer_window;
};

// The top of the stack (NULL when no browse is open), and the record last
// appended by a browse that ended (read by the coded-field lookup).
extern BrowseContext* CurrentBrowse;
extern long LastAppendedRecord;

// The tabulogram printout of a browse; set by the printing layer. Until it
// is set, printing says in a box that it is not available yet.
typedef int (*BrowsePrintRoutine)(TabuColumn* columns, DbScanCtx* scan, DbTable* table, DbTag* tag, TextRef title,
                                  TextRef subtitle, const char* settingsName, int flags);
extern BrowsePrintRoutine BrowsePrintTabulogram;

int allocate_browse(BrowseContext** ctx, DbTable* table, DbTag* tag, ScrollColumn* columns, int menu_window);
void free_browse(BrowseContext** ctx);
int zrob_browse(int recordLines, int editLines, long start);
int browse_call(int unused, long record);
int browse_dopisz(int once);
int browse_skasuj(int ask);
// A pattern search of the top browse in the text of each record, shown as
// it goes (Down and Up go on to the next or the previous match); the record
// found, 0 or -1 as Locate.
long BrowseLocate(const char* fragment, DbLocateText text);
int browse_modyfikuj(int unused);
int browse_drukuj();
int browse_zakoncz();
void browse_active_display_relate(BrowseContext* ctx);
void browse_reset_display_relate(BrowseContext* ctx);
int BrowseSwitchTag(BrowseContext* ctx);
// " Brak pozycji !" and -1 when the last display found no record, else 0.
int EmptyBrowseWarning(BrowseContext* ctx);
int DefineEditModifyWindow(BrowseContext* ctx);
void wyswietl_edit_window_modify(BrowseContext* ctx, int window, int backgroundAttr, int fieldAttr);
void BrowseDispFilterState(int on);
// A flag whose low byte is negative sets the entry's skip bit, any other clears it.
void set_is_format(EditCtrl* list, void* data, int flag);
void SetTextCtrlEnabled(TextCtrl* list, DbField** field, int flag);
int browse_empty_function();
int browse_empty_filter(intptr_t data);

// Scan routines of a browse limited to the records whose limit_field holds limit_value.
int dynfiltr_top(DbScanCtx* scan);
int dynfiltr_bottom(DbScanCtx* scan);
int dynfiltr_skip(DbScanCtx* scan, long n);

// The common browse keys: Del/Alt+U delete, Ins/Alt+D append, Alt+M modify
// (each unless its argument is Esc, after the right's test unless the right
// is negative), Alt+K the record stamp.
void hot_keys(int key, int appendArg, int appendRight, int modifyArg, int modifyRight, int deleteArg,
              int deleteRight, DbField* stampField);
