// Directories, paths and file names. Tables are opened by bare file name in
// the current directory, so moving between the program, data, shared
// catalogue and print-settings directories is done by changing it.
// Paths are kept as the system writes them (drive letters, backslashes, the
// system's character set) and turned into Linux paths only on the way to disk.
#pragma once
#include <string>
#include "env/env_state.h"
#include "env/text_ref.h"

// ChangeDir flags.
constexpr int CHDIR_LOG = 0x4000;      // log the change (code 13 "DirSet")
constexpr int CHDIR_QUIET = 0x8000;    // no failure log and no message

// SwitchDir kinds: the directories of the main options.
constexpr int SWITCH_SHARED_CATALOGUE = 3;   // sharedCatalogueDir
constexpr int SWITCH_PRINT_SETTINGS = 4;     // printSettingsDir

// MergePath flags: which parts follow, in this order.
constexpr int MERGE_DIR = 1;
constexpr int MERGE_DIR2 = 2;
constexpr int MERGE_NAME = 4;

// Makes the record's drive and directory current, creating the directory
// (one level) when it is missing; on success the environment's currentPath
// points at the record. 0, or -1 after the log entry and message 50001.
int ChangeDir(PathRecord* path, int logCode, int flags);
// One slot, not a stack: RestoreDir goes back to the record SaveDir saw last.
void SaveDir();
int RestoreDir();
// Changes to the option's directory; an empty or unreachable one leaves the
// program directory current (the result is then that change's).
int SwitchDir(int kind, int logCode);

// Splits a directory text (a backslash appended when missing) into the record.
PathRecord* TransDir(const char* directory, PathRecord* path);
// Up to three parts in flag order (directories get a trailing backslash),
// each cut of trailing blanks; never more than size - 1 characters.
char* MergePath(char* buffer, int size, int flags, TextRef part1 = TextRef(), TextRef part2 = TextRef(),
                TextRef part3 = TextRef());
// The path's drive and directory (with the trailing backslash).
char* ExtractDirQStr(const char* path);
// The current directory, without a trailing backslash unless it is a root.
char* WorkDirQStr();
// 1 when the path's extension is the given one (leading point optional), case
// counting; else 0.
int PathEXTCmp(const char* path, const char* extension);

int EnvFileExists(const char* name);
// 1 exists, -1 does not exist, 0 any other answer (logged unless access was denied).
int EnvFileAccess(const char* name);

// In place: letters to their plain ASCII letter, / * ? " < > | & to '\''.
char* ConvXmlExportName(char* name);


// A path as the system writes it to the Linux path on disk, and back.
std::string EnvToDiskPath(const char* path);
std::string EnvFromDiskPath(const std::string& diskPath);
// A path on disk as shown to the operator and written to the error log: the
// Linux path, in the system's character set (the Windows form is only stored).
std::string EnvShownPath(const std::string& diskPath);
