// The error log: one text file per running copy in the program directory
// (code page 1250, CR LF), written for events of every kind; error entries are
// also shown in the critical-error window, fatal ones end the program.
#pragma once
#include "env/text_ref.h"

// Flag bits of ErrLogMessage.
constexpr int EL_MODE_MASK = 0x3;
constexpr int EL_NO_TEXT = 0;
constexpr int EL_TEXT = 1;            // the text as it is (or a message number)
constexpr int EL_FORMAT = 2;          // the text is a format for the further arguments
constexpr int EL_FILE = 3;            // the text names a file: its size, date and contents follow
constexpr int EL_ERROR = 0x10;        // "ERRCODE(n)", new header, written at once, critical-error window
constexpr int EL_FATAL = 0x20;        // with EL_ERROR: the program ends with exit code 1
constexpr int EL_NEW_HEADER = 0x40;   // new header with an empty line before it
constexpr int EL_BLANK_BEFORE = 0x80;
constexpr int EL_FLUSH = 0x100;
constexpr int EL_SYSTEM_ERROR = 0x200;    // "WINSYS(n): text"
constexpr int EL_WINDOW_LINES = 0x400;    // the window shows the whole entry
constexpr int EL_ERRNO = 0x800;           // "errno(n): text, _doserrno(n)"
constexpr int EL_CWD = 0x1000;
constexpr int EL_BLANK_AFTER_HEADER = 0x2000;
constexpr int EL_COUNT = 0x4000;          // count repeats of this code instead of writing them
constexpr int EL_WRITE_FAILED = 0x8000;   // set internally

// Log codes the environment core uses.
constexpr int LOG_START = 1;
constexpr int LOG_ALARM = 10;
constexpr int LOG_DIRSET = 13;
constexpr int LOG_SHORT_RESOURCE = 19;
constexpr int LOG_MISSING_RESOURCE = 21;
constexpr int LOG_BAD_TIMER = 22;
constexpr int LOG_END = 24;

constexpr int ERR_LOG_ENTRY_MAX = 500;

// The log file is held with an exclusive lock over this range while open, so
// a second running copy takes the next numbered name.
constexpr unsigned long long ERR_LOG_LOCK_OFFSET = 0;
constexpr unsigned long long ERR_LOG_LOCK_LENGTH = 1ULL << 62;

// Opens the log in the program directory under the first name not held by
// another running copy; 0, or -1 when the program directory is not usable.
int OpenErrLog(int argc, char** argv);
// Writes one entry; always 0. Works before the log is open (nothing is
// written, the window and the fatal stop still run).
int ErrLogMessage(int flags, int code, TextRef text, ...);
void CloseErrLog();
// While the critical-error window shows an entry (during ScreenCriticalError):
// the entry's flags (EL_FATAL keeps the title, EL_WINDOW_LINES shows every
// line instead of only the name); 0 otherwise. The text handed to the window
// starts with the name and its colon; its last line is the footer naming the
// log, when a log is open.
int ErrLogShownFlags();
bool ErrLogIsOpen();
// The log's file name ("ER.Log"), empty while none is open.
const char* ErrLogFileName();
