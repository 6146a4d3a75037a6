// The installer's form: the script, the target directory and the shortcut
// name, the install pass over the script's archives, and the text front that
// shows the form on the terminal.
#pragma once
#include <string>
#include <vector>

#include "installer/arc_manager.h"
#include "installer/prev_inst.h"
#include "installer/script.h"
#include "installer/shortcuts.h"

struct ProgressBar {
  long max = 0;
  long position = 0;
  bool visible = false;
};

struct TMainForm {
  std::string baseDir;                // the current directory: "Instaluj.dat" and relative archives
  InstallScript script;
  unsigned char cancel = 0;
  std::string shortcutBase = "Korbel 2017";
  TArcManager arc;

  // The controls.
  std::string EditDir = "C:\\Korbel";
  std::vector<ShortcutItem> ShortcutList;
  int shortcutSelected = -1;
  std::string ShortcutText;           // the combo box's text
  bool CBDesktop = false;
  bool BtnInstallEnabled = true;
  ProgressBar ProgressTotal;
  bool closed = false;
  bool installed = false;             // the last pass ended with the closing message
  bool failed = false;                // the last pass failed (a file or folder could not be written)
  TPrevInstDlg PrevInstDlg;

  TMainForm();
  bool FormCreate();                  // false when the script cannot be read (told to the operator)
  void FormDestroy();
  void EditDirExit();
  void BtnDirsClick();
  void Button2Click();
  void ReadmeBtnClick();
  void BtnInstallClick();
  void Button1Click();
  void FormKeyPress(int key);

  int NextScriptLine(std::string* value) { return ::NextScriptLine(&script, value); }
  void ChooseShortcutName();
  std::string ScriptProgram();        // the program "URUCHOM" names, relative to the target
  long CountArchiveBytes();

 private:
  long lastPercent = -1;
  bool InstallPass();
  bool ExtractArchive(const std::string& archiveName, const std::string& outDir);
  void ReportExtractError(const TArcSeekRec& rec);
  bool ShowArchiveError(const std::string& archiveName);
  void PumpMessages();
  void StepProgress(long bytes);
  std::string ArchivePath(const std::string& name) const;
  static void OnProgress(void* user, long bytes, unsigned char* cancel);
};

// Makes `path` (a stored path, "\" or "/") with every missing parent; 0 when
// it exists afterwards, else the system's error (errno) why not.
int ForceDirectory(const std::string& path);
// Runs the form on the terminal until it is closed.
void RunTextFront(TMainForm* form);
