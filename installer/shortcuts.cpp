#include "installer/shortcuts.h"

#include <cctype>
#include <cstring>

#include "installer/front.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/program_dir.h"

namespace {

constexpr const char* kIconFile = "zelsal.svg";
constexpr const char* kIconName = "zelsal";
constexpr const char* kComment = "Sprzedaż, fakturowanie i sprzedaż detaliczna";

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Escapes of a desktop entry's string values.
std::string EscapeString(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UnescapeString(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char c = text[++i];
    out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
  }
  return out;
}

// Writes beside the target and renames, so an existing shortcut is replaced whole.
bool WriteWhole(const std::string& folder, const std::string& name, const std::string& content, uint32_t mode) {
  if (PlatMkDirs(folder.c_str()) != PLAT_OK) return false;
  std::string temp;
  PlatFile file;
  if (PlatCreateTempFile(folder.c_str(), ".~zs", ".tmp", &temp, &file) != PLAT_OK) return false;
  bool ok = PlatFileWrite(file, 0, content.data(), content.size()) == PLAT_OK && PlatFileFlush(file) == PLAT_OK;
  PlatFileClose(file);
  ok = ok && PlatFileSetMode(temp.c_str(), mode) == PLAT_OK;
  ok = ok && PlatFileRename(temp.c_str(), (folder + "/" + name).c_str()) == PLAT_OK;
  if (!ok) PlatFileDelete(temp.c_str());
  return ok;
}

std::string ReadWhole(const std::string& path) {
  PlatFile file;
  std::string text;
  if (PlatFileOpen(path.c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &file) != PLAT_OK) return text;
  char buffer[4096];
  size_t got = 0;
  for (uint64_t offset = 0; PlatFileRead(file, offset, buffer, sizeof buffer, &got) == PLAT_OK && got > 0;
       offset += got)
    text.append(buffer, got);
  PlatFileClose(file);
  return text;
}

}  // namespace

std::string ProgramsFolder() {
  return PlatDataHome() + "/applications";
}

std::string DesktopFolder() {
  std::string output;
  int exitCode = -1;
  if (PlatRunProgramOutput("xdg-user-dir", {"DESKTOP"}, &output, &exitCode) == PLAT_OK && exitCode == 0) {
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    if (!output.empty() && output[0] == '/') return WithoutTrailingSlashes(output);
  }
  return PlatHomeDir() + "/Desktop";
}

std::string DesktopExecValue(const std::string& program) {
  static const char reserved[] = " \t\n\"'\\><~|&;$*?#()`";
  std::string argument = program;
  if (program.empty() || program.find_first_of(reserved) != std::string::npos) {
    argument = "\"";
    for (char c : program) {
      if (c == '"' || c == '`' || c == '$' || c == '\\') argument += '\\';
      argument += c;
    }
    argument += "\"";
  }
  std::string value;
  for (char c : argument) {
    value += c;
    if (c == '%') value += '%';   // a lone % would start a field code
  }
  return EscapeString(value);
}

std::string DesktopExecProgram(const std::string& value) {
  std::string text = UnescapeString(value);
  std::string program;
  size_t i = 0;
  if (!text.empty() && text[0] == '"') {
    for (i = 1; i < text.size() && text[i] != '"'; i++) {
      if (text[i] == '\\' && i + 1 < text.size()) i++;
      program += text[i];
    }
  } else {
    while (i < text.size() && text[i] != ' ') program += text[i++];
  }
  std::string out;
  for (size_t k = 0; k < program.size(); k++) {
    out += program[k];
    if (program[k] == '%' && k + 1 < program.size() && program[k + 1] == '%') k++;
  }
  return out;
}

int CreateShortcut(const char* name, const char* target, const char* workDir, bool desktop) {
  std::string shortcut = name ? name : "";
  if (shortcut.empty() || shortcut == "." || shortcut == ".." || shortcut.find('/') != std::string::npos) return -1;
  std::string program = PlatResolveName(PlatTranslatePath(target).c_str());
  std::string dir = WithoutTrailingSlashes(PlatResolveName(PlatTranslatePath(workDir).c_str()));
  // The icon installed beside the program, else the one of the icon theme.
  std::string icon = program.substr(0, program.find_last_of('/') + 1) + kIconFile;
  if (PlatFileAccess(icon.c_str()) != PLAT_OK) icon = kIconName;
  std::string content = "[Desktop Entry]\nType=Application\nName=" + EscapeString(shortcut) +
                        "\nComment=" + kComment + "\nExec=" + DesktopExecValue(program) +
                        "\nPath=" + EscapeString(dir) + "\nIcon=" + EscapeString(icon) +
                        "\nTerminal=false\nCategories=Office;Finance;\n";
  std::string file = shortcut + ".desktop";
  // Failures leave the shortcut unmade without a word, as the shell's did.
  WriteWhole(ProgramsFolder(), file, content, 0644);
  // A launcher on the desktop is started only when it is executable.
  if (desktop) WriteWhole(DesktopFolder(), file, content, 0755);
  return 0;
}

int ScanShortcuts(std::vector<ShortcutItem>* items) {
  items->clear();
  std::string folder = ProgramsFolder();
  std::vector<PlatDirEntry> entries;
  if (PlatListDir(folder.c_str(), "*.desktop", &entries) != PLAT_OK) return 0;
  for (const PlatDirEntry& entry : entries) {
    if (entry.isDirectory) continue;
    std::string text = ReadWhole(folder + "/" + entry.name);
    std::string exec;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (line.compare(0, 5, "Exec=") == 0 && exec.empty()) exec = line.substr(5);
      start = end + 1;
    }
    if (exec.empty()) continue;
    items->push_back({entry.name.substr(0, entry.name.size() - std::strlen(".desktop")), DesktopExecProgram(exec)});
  }
  return 0;
}

bool BrowseForFolder(const char* title, std::string* path) {
  path->clear();
  std::string line;
  if (!FrontReadLine((std::string(title) + ": ").c_str(), &line)) return false;
  size_t begin = line.find_first_not_of(" \t");
  size_t end = line.find_last_not_of(" \t");
  if (begin == std::string::npos) return false;
  std::string chosen = PlatTranslatePath(line.substr(begin, end - begin + 1).c_str());
  if (chosen[0] != '/') chosen = PlatGetCwd() + chosen;
  chosen = WithoutTrailingSlashes(PlatResolveName(chosen.c_str()));
  PlatFileInfo info;
  if (PlatFileInfoOf(chosen.c_str(), true, &info) != PLAT_OK || !info.isDirectory) return false;
  *path = PlatToWindowsPath(chosen.c_str());
  return true;
}

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); i++)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}
