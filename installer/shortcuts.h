// The installer's dealings with the desktop: program shortcuts as XDG desktop
// entries (in the applications folder and, when asked, on the desktop), the
// shortcuts already there, and the folder choice.
#pragma once
#include <string>
#include <vector>

struct ShortcutItem {
  std::string text;     // the shortcut's name
  std::string target;   // the program it starts
};

std::string ProgramsFolder();   // $XDG_DATA_HOME/applications
std::string DesktopFolder();    // `xdg-user-dir DESKTOP`, else ~/Desktop

// Writes "<name>.desktop" starting `target` in `workDir` (both as given to the
// path translator); 0, or -1 when the name cannot be a file name.
int CreateShortcut(const char* name, const char* target, const char* workDir, bool desktop);
// The shortcuts of the applications folder with the programs they start.
int ScanShortcuts(std::vector<ShortcutItem>* items);
// Asks for a folder; true with its path when an existing one was given.
bool BrowseForFolder(const char* title, std::string* path);

// The Exec value of a desktop entry that starts `program` with no arguments,
// and the program back from an Exec value.
std::string DesktopExecValue(const std::string& program);
std::string DesktopExecProgram(const std::string& value);

// Paths compared as the main program's file is matched: ignoring case.
bool SamePathIgnoringCase(const std::string& a, const std::string& b);
