// The library's standard windows (critical error, "KOMUNIKAT", status line,
// key-hint line, "SIEĆ"), the layouts of the usual dialog windows with their
// colour sets, and the key-hint line with its stack of hint sets.
#pragma once

#include "env/lists.h"

struct EditCtrl;

// The standard frame: top, bottom, left, right, TL, TR, BL, BR (edge pieces in the screen fonts).
extern const char kStdFrame[9];

// Colour sets of form windows (eight bytes each).
extern unsigned char SearchColours[8];
extern unsigned char EntryColours[8];
extern unsigned char OptionsColours[8];
extern unsigned char IncomeColours[8];
extern unsigned char BrowseEditColours[8];
extern unsigned char ReportColours[8];
extern unsigned char GlobalOptionsColours[8];

void open_envr_win();
void close_envr_win();
int StdCriticalWindow();   // -1 when closed
int StdHelpWindow();
int StdNetWindow();

// Shows the critical-error window with the lines of `text` and waits for a
// key; before the standard windows exist a system box is used. Returns the key.
int ShowCriticalErrorWindow(const char* text);
// Installs the screen hook through which the lower layers reach the operator.
void UiInstallScreenHook();

// Layouts; each returns the new window's handle or -1.
int DefineZazuveWindow(int row, int col, int height, int width, const char* title);
int DefineFrontoweWindow(const char* title);
int DefinePodatnikWindow();
int DefineSeekWindow(int row, int col, int height, int width, const char* title, int flags, void* wigets,
                     void* data);
int DefineWprowadzWindow(int row, int col, int height, int width, const char* title, void* wigets, void* data);
int DefineOpcjeWindow(int row, int col, int height, int width, const char* title, void* wigets, void* data,
                      int flags);
int DefineDeklaracjaWindow(const char* title);
int DefineDochodoweWindow(int row, int col, int height, int width, const char* title, void* wigets, void* data);
int DefineBroAppeWindow(int row, int col, int height, int width, const char* title, int flags, void* wigets,
                        void* data);
int DefineDaneDoWykresowWindow();
int DefineRaportoweWindow(int row, int col, int height, int width, const char* title, void* wigets, void* data,
                          int flags);
int DefineBlackWindow();
int DefineOpcjeGlobalneWindow(int row, int col, int height, int width, const char* title, void* wigets,
                              void* data);
int DefineAutoModyfikacjaWindow(int row, int col, int height, int width, const char* title);
int DefineChartWindow(const char* title);
int DefineWyboruWindow(int row, int col, const char* title);
int DefineDialogWindow(int row, int col, int height, int width, const char* title);
int DefineEksportoweWindow(int row, int col, int height, int width, const char* title);
int OpenFiltryWindow(int topRow);
int DefineFiltryMenu(int longestLabel);

// The key-hint line.
struct KeyHint {
  DbLink link;
  char keyText[12];
  char description[30];
  signed char order;
};

void init_help_line();
void add_help_line();
int remove_help_line();
int set_fun_help(const char* keyText, const char* description, int order);
// Edits the list in the current window, F2 "Zapisz" in the help line, until
// F2 or Esc; the key.
int EditUntilSaved(EditCtrl* edits, int attr);
// Reads the gets defined in the current window, F2 "Zapisz" in the help
// line, until F2 or Esc; the gets are freed after. The key.
int ReadGetsUntilSaved();
int remove_fun_help(const char* keyText);
