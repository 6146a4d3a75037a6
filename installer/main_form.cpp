#include "installer/main_form.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "installer/front.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/screen_hook.h"

namespace {

constexpr const char* kCaption = "Uwaga !";
constexpr const char* kProgramFile = "Zelsal";

std::string Format(const char* pattern, const std::vector<std::string>& args) {
  std::string out;
  size_t next = 0;
  for (const char* p = pattern; *p; p++) {
    if (p[0] == '%' && p[1] == 's' && next < args.size()) {
      out += args[next++];
      p++;
    } else {
      out += *p;
    }
  }
  return out;
}

void Warn(const std::string& text) { ScreenMessageBox(SCREEN_BOX_WARNING, kCaption, text.c_str()); }

bool EndsInSeparator(const std::string& path) { return !path.empty() && (path.back() == '\\' || path.back() == '/'); }


bool Absolute(const std::string& path) {
  return !path.empty() && (path[0] == '/' || path[0] == '\\' || (path.size() >= 2 && path[1] == ':'));
}

// Why a folder could not be made, for the operator.
std::string ReasonOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM: return "Brak uprawnień do zapisu w tym miejscu.";
    case EROFS: return "Dysk jest tylko do odczytu.";
    case ENOSPC: return "Na dysku jest za mało wolnego miejsca.";
    case ENOTDIR:
    case EEXIST: return "W tym miejscu jest plik, a nie katalog.";
    case ENAMETOOLONG: return "Nazwa katalogu jest za długa.";
    case ENOENT: return "Nie ma takiego katalogu.";
    default: return "Błąd systemu nr " + std::to_string(error) + ".";
  }
}

bool HasDrive(const std::string& dir) { return dir.size() >= 2 && dir[1] == ':'; }

// A folder of the pass in one style: as typed with its drive letter, else as
// it lies on disk (a typed Linux folder with the script's "\" parts joined).
std::string Shown(const std::string& dir) { return HasDrive(dir) ? dir : PlatTranslatePath(dir.c_str()); }

// The program the shortcut starts can be run by whoever can read it.
void MakeExecutable(const std::string& program) {
  std::string path = PlatTranslatePath(program.c_str());
  PlatFileInfo info;
  if (PlatFileInfoOf(path.c_str(), true, &info) == PLAT_OK && !info.isDirectory)
    PlatFileSetMode(path.c_str(), info.mode | ((info.mode & 0444) >> 2));
}

}  // namespace

int ForceDirectory(const std::string& path) {
  std::string made = PlatTranslatePath(path.c_str());
  int error = PlatMkDirs(made.c_str()) == PLAT_OK ? 0 : PlatLastErrno();
  PlatFileInfo info;
  if (PlatFileInfoOf(made.c_str(), true, &info) == PLAT_OK && info.isDirectory) return 0;
  return error ? error : ENOTDIR;
}

TMainForm::TMainForm() {
  arc.progress = OnProgress;
  arc.progressUser = this;
}

bool TMainForm::FormCreate() {
  if (!LoadScript(baseDir + "Instaluj.dat", &script)) {
    ScreenMessageBox(SCREEN_BOX_ERROR, kCaption,
                     ("Nie można odczytać pliku Instaluj.dat w katalogu " + baseDir + ".").c_str());
    return false;
  }
  ScanShortcuts(&ShortcutList);
  script.cursor = 0;
  std::string value;
  for (int code; (code = NextScriptLine(&value)) != -1;) {
    if (code == SCRIPT_KATALOG) EditDir = value;
    if (code == SCRIPT_LINK) shortcutBase = value;
  }
  ChooseShortcutName();
  return true;
}

void TMainForm::FormDestroy() {
  ShortcutList.clear();
  script.lines.clear();
}

std::string TMainForm::ScriptProgram() {
  script.cursor = 0;
  std::string program = kProgramFile, value;
  for (int code; (code = NextScriptLine(&value)) != -1;)
    if (code == SCRIPT_URUCHOM) program = value;
  return program;
}

void TMainForm::ChooseShortcutName() {
  std::string dir = EditDir;
  if (!EndsInSeparator(dir)) dir += '\\';
  // Both sides as the files lie on disk: the entries hold their program so.
  std::string expected = PlatResolveName(PlatTranslatePath((dir + ScriptProgram()).c_str()).c_str());
  for (size_t i = 0; i < ShortcutList.size(); i++) {
    if (SamePathIgnoringCase(PlatResolveName(ShortcutList[i].target.c_str()), expected)) {
      shortcutSelected = int(i);
      ShortcutText = ShortcutList[i].text;
      return;
    }
  }
  shortcutSelected = -1;
  for (int n = 1;; n++) {
    std::string candidate = n == 1 ? shortcutBase : shortcutBase + " (" + std::to_string(n) + ")";
    bool taken = false;
    for (const ShortcutItem& item : ShortcutList) taken = taken || item.text == candidate;
    if (!taken) {
      ShortcutText = candidate;
      return;
    }
  }
}

void TMainForm::EditDirExit() { ChooseShortcutName(); }

void TMainForm::BtnDirsClick() {
  std::string chosen;
  if (!BrowseForFolder("Katalogi", &chosen)) return;
  if (chosen.size() == 3 && chosen[1] == ':' && chosen[2] == '\\') chosen += "ZelmWIN";
  EditDir = chosen;
}

void TMainForm::Button2Click() {
  std::string chosen;
  if (PrevInstDlg.ChooseInstallation(&chosen)) EditDir = chosen;
}

void TMainForm::ReadmeBtnClick() {
  script.cursor = 0;
  std::string value;
  for (int code; (code = NextScriptLine(&value)) != -1;) {
    if (code != SCRIPT_README) continue;
    int exitCode;
    // Where there is no xdg-open there is nothing to open the file with; as before, not reported.
    PlatRunProgram("xdg-open", {PlatTranslatePath(ArchivePath(value).c_str())}, nullptr, &exitCode);
  }
}

std::string TMainForm::ArchivePath(const std::string& name) const { return Absolute(name) ? name : baseDir + name; }

bool TMainForm::ShowArchiveError(const std::string& archiveName) {
  static const struct {
    int code;
    const char* text;
  } messages[] = {
      {ARC_ERR_OPEN_IN_USE, "Nie można otworzyć pliku %s.\nPlik jest używany przez inną aplikację."},
      {ARC_ERR_EMPTY, "Plik %s jest pusty."},
      {ARC_ERR_HEADER, "Nie można rozpakować pliku %s.\nBłąd CRC nagłówka."},
      {ARC_ERR_HEADER_LEVEL, "Nie można rozpakować pliku %s.\nNieobsługiwany poziom nagłówka archiwum."},
      {ARC_ERR_READ_DEVICE, "Błąd odczytu pliku %s.\nUrządzenie nie działa."},
  };
  if (arc.ErrorCode() == ARC_ERR_NONE) return false;
  for (const auto& m : messages) {
    if (arc.ArcTestError(m.code)) {
      Warn(Format(m.text, {archiveName}));
      return true;
    }
  }
  arc.ArcShowError();
  return true;
}

long TMainForm::CountArchiveBytes() {
  script.cursor = 0;
  long total = 0;
  std::string value;
  for (int code; (code = NextScriptLine(&value)) != -1;) {
    if (code != SCRIPT_PLIK) continue;
    arc.archiveName = ArchivePath(value);
    if (!arc.ArcSeekOpen()) {
      ShowArchiveError(arc.archiveName);
      return 0;
    }
    TArcSeekRec rec;
    for (bool more = arc.ArcSeekFirst(&rec); more; more = arc.ArcSeekNext(&rec)) total += long(rec.size);
    arc.ArcSeekClose();
    if (ShowArchiveError(arc.archiveName)) return 0;
  }
  return total;
}

void TMainForm::ReportExtractError(const TArcSeekRec& rec) {
  failed = true;
  int code = arc.ErrorCode();
  const char* cannot = "Nie można wypakować pliku %s do katalogu %s.\r\n";
  switch (code) {
    case ARC_ERR_READ_ONLY:
      Warn(Format(cannot, {rec.name, Shown(arc.outDir)}) + "Taki plik już istnieje i ma atrybut \"Tylko do odczytu\".");
      break;
    case ARC_ERR_CREATE_IN_USE:
      Warn(Format(cannot, {rec.name, Shown(arc.outDir)}) + "Taki plik już istnieje i jest używany przez inną aplikację.");
      break;
    case ARC_ERR_CRC:
      Warn(Format("Błędna suma kontrolna pliku %s.\r\nArchiwum jest uszkodzone.", {rec.path}));
      break;
    case ARC_ERR_STREAM:
      Warn(Format("Błąd strumienia kompresji pliku %s.\r\nArchiwum jest uszkodzone.", {rec.path}));
      break;
    case ARC_ERR_READ_MEDIUM:
      Warn(Format("Nie można wypakować pliku %s.\r\nPrawdopodobne uszkodzenie nośnika.", {rec.name}));
      break;
    case ARC_ERR_CANCEL:
    case ARC_ERR_READ:
    case ARC_ERR_DISK_FULL:
    case ARC_ERR_READ_DEVICE:
      return;   // these end the archive
    default:
      arc.ArcShowError();
      return;
  }
  arc.ArcTestError(code);
}

bool TMainForm::ExtractArchive(const std::string& archiveName, const std::string& outDir) {
  arc.archiveName = ArchivePath(archiveName);
  arc.outDir = outDir;
  bool cancelled = false;
  if (arc.ArcSeekOpen()) {
    TArcSeekRec rec;
    for (bool more = arc.ArcSeekFirst(&rec); more; more = arc.ArcSeekNext(&rec)) {
      PumpMessages();
      // Stored members report no progress, so a cancel is also taken between members.
      if (cancel) {
        cancelled = true;
        break;
      }
      if (!arc.ArcExtract(false)) ReportExtractError(rec);
      if (arc.ErrorCode() != ARC_ERR_NONE) break;
    }
    if (arc.ArcTestError(ARC_ERR_CANCEL)) {
      cancelled = true;
    } else if (arc.ArcTestError(ARC_ERR_DISK_FULL)) {
      Warn(Format("Nie można wypakować pliku %s do katalogu %s.\nNa dysku %s jest za mało wolnego miejsca.",
                  {rec.name, Shown(outDir), HasDrive(outDir) ? outDir.substr(0, 2) : Shown(outDir)}));
    }
    arc.ArcSeekClose();
  }
  if (ShowArchiveError(arc.archiveName)) failed = true;
  return !cancelled;
}

bool TMainForm::InstallPass() {
  std::string target = EditDir;
  if (!EndsInSeparator(target)) target += '\\';
  std::string name = ShortcutText;
  std::string archive, program, value;
  bool haveProgram = false;
  script.cursor = 0;
  for (int code; (code = NextScriptLine(&value)) != -1;) {
    if (code == SCRIPT_PLIK) archive = value;
    if (code == SCRIPT_POLOZENIE) {
      std::string outDir = target + value + "\\";
      if (int error = ForceDirectory(outDir)) {
        Warn(Format("Nie można utworzyć katalogu %s.\n%s", {PlatTranslatePath(outDir.c_str()), ReasonOf(error)}));
        failed = true;
      } else if (!ExtractArchive(archive, outDir)) {
        return false;
      }
    }
    if (code == SCRIPT_URUCHOM) {
      program = target + value;
      haveProgram = true;
    }
  }
  if (!haveProgram) throw std::runtime_error("Brak sekcji URUCHOM w pliku Instaluj.dat");
  // A shortcut only to a program that was installed whole.
  if (failed) return true;
  MakeExecutable(program);
  std::string workDir = target;
  if (workDir.size() > 3 || workDir[1] != ':') workDir.pop_back();
  CreateShortcut(name.c_str(), program.c_str(), workDir.c_str(), CBDesktop);
  return true;
}

void TMainForm::BtnInstallClick() {
  installed = false;
  failed = false;
  long total = CountArchiveBytes();
  if (total == 0) {
    failed = true;   // told already; nothing could be installed
    return;
  }
  ProgressTotal.max = total;
  ProgressTotal.position = 0;
  ProgressTotal.visible = true;
  lastPercent = -1;
  BtnInstallEnabled = false;
  cancel = 0;
  try {
    if (InstallPass()) {
      if (failed) {
        ScreenMessageBox(SCREEN_BOX_ERROR, kCaption,
                         "Instalacja nie powiodła się: nie wszystkie pliki zostały zapisane.");
      } else {
        ScreenMessageBox(SCREEN_BOX_INFO, kCaption, "Instalacja zakończona pomyślnie.");
        closed = installed = true;
      }
    }
  } catch (const std::exception& e) {
    failed = true;
    ScreenMessageBox(SCREEN_BOX_ERROR, "Zelsetup", e.what());
  }
  if (lastPercent >= 0) FrontPrint("\n");
  BtnInstallEnabled = true;
  ProgressTotal.visible = false;
}

void TMainForm::Button1Click() {
  if (BtnInstallEnabled) {
    closed = true;
    return;
  }
  if (ScreenQuestion(kCaption, "Przerwać instalację ?") == 'T') cancel = 1;
}

void TMainForm::FormKeyPress(int key) {
  if (key == SCREEN_KEY_ESC && !BtnInstallEnabled) Button1Click();
}

void TMainForm::PumpMessages() {
  int key = ScreenReadKey();
  if (key) FormKeyPress(key);
}

void TMainForm::StepProgress(long bytes) {
  ProgressTotal.position += bytes;
  if (!ProgressTotal.visible || ProgressTotal.max <= 0) return;
  long percent = ProgressTotal.position * 100 / ProgressTotal.max;
  if (percent == lastPercent) return;
  lastPercent = percent;
  char line[40];
  std::snprintf(line, sizeof line, "\rInstalacja: %3ld%%", percent);
  FrontPrint(line);
}

void TMainForm::OnProgress(void* user, long bytes, unsigned char* cancel) {
  TMainForm* form = static_cast<TMainForm*>(user);
  form->StepProgress(bytes);
  if (bytes < 0) return;   // a take-back: the answer is not read
  form->PumpMessages();
  *cancel = form->cancel;
}
