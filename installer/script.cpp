#include "installer/script.h"

#include "platform/files.h"

namespace {

bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && Blank(text[begin])) begin++;
  while (end > begin && Blank(text[end - 1])) end--;
  return text.substr(begin, end - begin);
}

int CodeOf(const std::string& key) {
  static const char* const keys[] = {"BACKUP", "PLIK", "POLOZENIE", "README", "URUCHOM", "KATALOG", "LINK"};
  for (int i = 0; i < 7; i++)
    if (key == keys[i]) return i + 1;
  return 0;
}

}  // namespace

bool LoadScript(const std::string& path, InstallScript* script) {
  script->lines.clear();
  script->cursor = 0;
  PlatFile file;
  if (PlatFileOpen(path.c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &file) != PLAT_OK) return false;
  std::string text;
  char buffer[4096];
  size_t got = 0;
  bool ok = true;
  for (uint64_t offset = 0;; offset += got) {
    if (PlatFileRead(file, offset, buffer, sizeof buffer, &got) != PLAT_OK) {
      ok = false;
      break;
    }
    if (got == 0) break;
    text.append(buffer, got);
  }
  PlatFileClose(file);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    script->lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return ok;
}

bool SplitScriptLine(const std::string& line, std::string* key, std::string* value) {
  size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  *key = Trim(line.substr(0, equals));
  std::string v = Trim(line.substr(equals + 1));
  if (!v.empty() && v.front() == '"') v.front() = ' ';
  if (!v.empty() && v.back() == '"') v.back() = ' ';
  *value = Trim(v);
  return true;
}

int NextScriptLine(InstallScript* script, std::string* value) {
  while (script->cursor < script->lines.size()) {
    std::string key;
    bool counted = SplitScriptLine(script->lines[script->cursor++], &key, value);
    int code = counted ? CodeOf(key) : 0;
    if (code) return code;
  }
  value->clear();
  return -1;
}
