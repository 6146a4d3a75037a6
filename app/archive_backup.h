// Archive backup and restore: the table of archived data files, writing them
// into a CP1 archive, comparing the archive with them, and restoring them
// from it with each replaced file moved into a backup directory "Bak%03i".
// Paths are texts as the system writes them.
#pragma once
#include <cstdint>

// Where a row's files live (flag bits); a row takes part when its flags share
// a bit with the caller's mask.
constexpr int ARCH_PER_YEAR = 0x01;   // the two blanks take the working year's digits
constexpr int ARCH_COMMON = 0x02;     // the common directory
constexpr int ARCH_PROGRAM = 0x04;    // the program directory
constexpr int ARCH_ZUS = 0x08;        // the directory of ZUS parameter 1
constexpr int ARCH_FIRM = 0x10;       // the current (firm) directory

constexpr int ARCHIVED_FILES_COUNT = 133;
constexpr int ARCHIVED_NAME_SIZE = 14;

struct ArchivedFile {
  char name[ARCHIVED_NAME_SIZE];   // file name or pattern
  int flags;
};

// The rows as they stand, blanks in the per-year names; the main options
// table's row holds "Z5PABV.DBF" until the caller puts the resolved name in.
extern const ArchivedFile ArchivedFiles[ARCHIVED_FILES_COUNT];
constexpr int ARCHIVED_MAIN_OPTIONS_ROW = 13;

// In place: the first two blanks of the name become the year's last two digits.
char* PutArchiveYear(char* name, int year);
// A copy of ArchivedFiles for the year, with the main options table's name.
void PrepareArchivedFiles(ArchivedFile* table, int year, const char* mainOptionsName);

// The index of the first row whose pattern matches the name, or -1.
int MatchArchivePattern(const ArchivedFile* table, const char* name);

// 1 when every matching file and the end mark were written, else 0.
int WriteArchive(const ArchivedFile* table, const char* archivePath, int mask);
// 1 when every file the writer would take compares equal with its entry.
int VerifyArchive(const ArchivedFile* table, const char* archivePath, int mask);
// 1 when the archive was read to its end. A run that stops part-way puts
// every file it replaced back. `backupName` (at least 8 bytes) gets the name
// of the current directory's backup directory, empty when none was made.
int RestoreArchive(const ArchivedFile* table, const char* archivePath, char* backupName);
// The owner text and the date ("CCYYMMDD") of the first entry; 1, or 0.
int ReadArchiveInfo(const char* archivePath, char* text, int size, char* date);

// The label of the progress lines that follow ("zapis:", "odczyt:",
// "weryfikacja:" or "pomijam:").
void SetArchiveProgressLabel(const char* label);
// Where the progress lines go: the window (-1 none) and its first row for them.
void SetArchiveProgressWindow(int window, int firstRow);
// The archiver's progress routine: kind 1 a new file line, kind 2 the percentage.
void ArchiveProgress(void* user, int kind, const char* name, uint32_t done, uint32_t total);

// Creates the first of "Bak001" .. "Bak999" in the current directory that
// does not exist, its name into `buffer` (8 bytes); 0, or -1.
int NewBackupDir(char* buffer);
