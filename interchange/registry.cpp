#include "interchange/registry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "env/error_log.h"
#include "platform/byte_order.h"
#include "platform/clock.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "platform/program_dir.h"

// ---- the store ------------------------------------------------------------
//
// File "registry.txt", one section per key:
//   [Software\Ostrel\WinZelm] 1765360000      key path and time of last change
//   "BIR1_SID"=text:"abc"                       a text value (stored with its NUL)
//   "Port"=dword:00000005                       4-byte number
//   "Big"=qword:0000000000000005                8-byte number
//   "Raw"=binary:0a1b                           binary
//   "Odd"=hex(7):0a1b                           any other type, or a text without its NUL
// Key paths escape '%', '[', ']', '"', control bytes and bytes from 0x7F up as
// %HH; quoted names and texts escape '\', '"' and the same bytes as \xHH.

struct RegOpenKey {
  std::string path;   // components joined by "\", empty for the root
};

namespace {

RegOpenKey currentUserRoot;

struct StoreValue {
  std::string name;
  uint32_t type = REG_TYPE_NONE;
  std::string data;
};

struct StoreKey {
  std::string name;
  int64_t modified = 0;
  std::vector<StoreValue> values;
  std::vector<StoreKey> subkeys;
};

struct Store {
  StoreKey root;
  bool damaged = false;   // a line could not be read: the file is never rewritten over it
};

std::string StorePath() { return PlatConfigDir() + "registry.txt"; }

int64_t NowSeconds() {
  PlatDateTime t;
  PlatNow(&t);
  // Days from the civil date (proleptic Gregorian), for a stable time stamp.
  int y = t.year - (t.month <= 2);
  int era = (y >= 0 ? y : y - 399) / 400;
  int yoe = y - era * 400;
  int doy = (153 * (t.month + (t.month > 2 ? -3 : 9)) + 2) / 5 + t.day - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  int64_t days = static_cast<int64_t>(era) * 146097 + doe - 719468;
  return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); i++)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

bool NameBefore(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; i++) {
    unsigned char x = static_cast<unsigned char>(Fold(a[i])), y = static_cast<unsigned char>(Fold(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t slash = path.find('\\', pos);
    if (slash == std::string::npos) slash = path.size();
    if (slash > pos) parts.push_back(path.substr(pos, slash - pos));
    pos = slash + 1;
  }
  return parts;
}

StoreKey* FindChild(StoreKey* key, const std::string& name) {
  for (StoreKey& k : key->subkeys)
    if (SameName(k.name, name)) return &k;
  return nullptr;
}

StoreKey* FindKey(StoreKey* root, const std::string& path) {
  StoreKey* key = root;
  for (const std::string& part : SplitPath(path)) {
    key = FindChild(key, part);
    if (!key) return nullptr;
  }
  return key;
}

// Creates the missing levels; the path of the key as stored goes to `canonical`.
// NULL for a path deeper than the store keeps: the tree is written and
// destroyed recursively.
StoreKey* MakeKey(StoreKey* root, const std::string& path, int64_t now, std::string* canonical) {
  StoreKey* key = root;
  std::string stored;
  std::vector<std::string> parts = SplitPath(path);
  if (parts.size() > REG_MAX_DEPTH) return nullptr;
  for (const std::string& part : parts) {
    StoreKey* child = FindChild(key, part);
    if (!child) {
      StoreKey fresh;
      fresh.name = part;
      fresh.modified = now;
      auto at = std::find_if(key->subkeys.begin(), key->subkeys.end(),
                             [&](const StoreKey& k) { return NameBefore(part, k.name); });
      child = &*key->subkeys.insert(at, std::move(fresh));
      key->modified = now;
    }
    if (!stored.empty()) stored += '\\';
    stored += child->name;
    key = child;
  }
  if (canonical) *canonical = stored;
  return key;
}

StoreValue* FindValue(StoreKey* key, const std::string& name) {
  for (StoreValue& v : key->values)
    if (SameName(v.name, name)) return &v;
  return nullptr;
}

// ---- reading and writing the file

const char kHex[] = "0123456789abcdef";

bool PathByteEscaped(unsigned char c) { return c < 0x20 || c >= 0x7F || c == '%' || c == '[' || c == ']' || c == '"'; }

std::string EscapePath(const std::string& path) {
  std::string out;
  for (unsigned char c : path) {
    if (PathByteEscaped(c)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string HexBytes(const std::string& data) {
  std::string out;
  for (unsigned char c : data) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

std::string LittleEndianHex(const std::string& data) {
  std::string reversed(data.rbegin(), data.rend());
  return HexBytes(reversed);
}

bool IsPlainText(const StoreValue& v) {
  if (v.type != REG_TYPE_TEXT && v.type != REG_TYPE_EXPAND_TEXT) return false;
  return !v.data.empty() && v.data.back() == '\0' && v.data.find('\0') == v.data.size() - 1;
}

std::string ValueLine(const StoreValue& v) {
  std::string line = Quote(v.name) + "=";
  if (IsPlainText(v))
    return line + (v.type == REG_TYPE_TEXT ? "text:" : "expand:") + Quote(v.data.substr(0, v.data.size() - 1));
  if (v.type == REG_TYPE_INT32 && v.data.size() == 4) return line + "dword:" + LittleEndianHex(v.data);
  if (v.type == REG_TYPE_INT64 && v.data.size() == 8) return line + "qword:" + LittleEndianHex(v.data);
  if (v.type == REG_TYPE_BINARY) return line + "binary:" + HexBytes(v.data);
  return line + "hex(" + std::to_string(v.type) + "):" + HexBytes(v.data);
}

void WriteKey(const StoreKey& key, const std::string& path, std::string* out) {
  if (!path.empty() || !key.values.empty()) {
    *out += "\n[" + EscapePath(path) + "] " + std::to_string(key.modified) + "\n";
    for (const StoreValue& v : key.values) *out += ValueLine(v) + "\n";
  }
  for (const StoreKey& sub : key.subkeys) WriteKey(sub, path.empty() ? sub.name : path + "\\" + sub.name, out);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHex(const std::string& text, std::string* out) {
  if (text.size() % 2) return false;
  out->clear();
  for (size_t i = 0; i < text.size(); i += 2) {
    int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    *out += static_cast<char>(hi * 16 + lo);
  }
  return true;
}

bool ParseLittleEndianHex(const std::string& text, size_t bytes, std::string* out) {
  if (text.size() != bytes * 2 || !ParseHex(text, out)) return false;
  std::reverse(out->begin(), out->end());
  return true;
}

// A quoted text at `pos`; `pos` moves past its closing quote.
bool ParseQuoted(const std::string& line, size_t* pos, std::string* out) {
  size_t i = *pos;
  if (i >= line.size() || line[i] != '"') return false;
  out->clear();
  for (i++; i < line.size(); i++) {
    char c = line[i];
    if (c == '"') {
      *pos = i + 1;
      return true;
    }
    if (c != '\\') {
      *out += c;
      continue;
    }
    if (++i >= line.size()) return false;
    if (line[i] == 'x') {
      if (i + 2 >= line.size()) return false;
      int hi = HexDigit(line[i + 1]), lo = HexDigit(line[i + 2]);
      if (hi < 0 || lo < 0) return false;
      *out += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      *out += line[i];
    }
  }
  return false;
}

bool ParseValueLine(const std::string& line, StoreValue* v) {
  size_t pos = 0;
  if (!ParseQuoted(line, &pos, &v->name)) return false;
  if (pos >= line.size() || line[pos] != '=') return false;
  size_t colon = line.find(':', pos + 1);
  if (colon == std::string::npos) return false;
  std::string kind = line.substr(pos + 1, colon - pos - 1);
  std::string rest = line.substr(colon + 1);
  if (kind == "text" || kind == "expand") {
    size_t at = 0;
    if (!ParseQuoted(rest, &at, &v->data) || at != rest.size()) return false;
    v->data += '\0';
    v->type = kind == "text" ? REG_TYPE_TEXT : REG_TYPE_EXPAND_TEXT;
    return true;
  }
  if (kind == "dword") {
    v->type = REG_TYPE_INT32;
    return ParseLittleEndianHex(rest, 4, &v->data);
  }
  if (kind == "qword") {
    v->type = REG_TYPE_INT64;
    return ParseLittleEndianHex(rest, 8, &v->data);
  }
  if (kind == "binary") {
    v->type = REG_TYPE_BINARY;
    return ParseHex(rest, &v->data);
  }
  if (kind.size() > 5 && kind.compare(0, 4, "hex(") == 0 && kind.back() == ')') {
    std::string number = kind.substr(4, kind.size() - 5);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos || number.size() > 9) return false;
    v->type = static_cast<uint32_t>(std::stoul(number));
    return ParseHex(rest, &v->data);
  }
  return false;
}

bool ParseHeader(const std::string& line, std::string* path, int64_t* modified) {
  size_t close = line.rfind(']');
  if (line.empty() || line[0] != '[' || close == std::string::npos) return false;
  path->clear();
  for (size_t i = 1; i < close; i++) {
    if (line[i] == '%') {
      if (i + 2 >= close) return false;
      int hi = HexDigit(line[i + 1]), lo = HexDigit(line[i + 2]);
      if (hi < 0 || lo < 0) return false;
      *path += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      *path += line[i];
    }
  }
  std::string rest = line.substr(close + 1);
  size_t start = rest.find_first_not_of(' ');
  *modified = 0;
  if (start == std::string::npos) return true;
  rest = rest.substr(start);
  if (rest.find_first_not_of("0123456789") != std::string::npos || rest.size() > 18) return false;
  *modified = std::stoll(rest);
  return true;
}

void LoadStore(Store* store) {
  store->root = StoreKey();
  store->damaged = false;
  PlatFile file;
  if (PlatFileOpen(StorePath().c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &file) != PLAT_OK) return;
  std::string text;
  uint64_t length = 0;
  size_t done = 0;
  if (PlatFileLength(file, &length) == PLAT_OK) {
    text.resize(length);
    if (PlatFileRead(file, 0, text.data(), text.size(), &done) != PLAT_OK || done != text.size()) store->damaged = true;
  } else {
    store->damaged = true;
  }
  PlatFileClose(file);
  StoreKey* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      std::string path;
      int64_t modified;
      if (!ParseHeader(line, &path, &modified)) {
        store->damaged = true;
        current = nullptr;
        continue;
      }
      current = MakeKey(&store->root, path, modified, nullptr);
      if (!current) {
        store->damaged = true;
        continue;
      }
      current->modified = modified;
      continue;
    }
    StoreValue v;
    if (!current || !ParseValueLine(line, &v)) {
      store->damaged = true;
      continue;
    }
    if (StoreValue* old = FindValue(current, v.name))
      *old = std::move(v);
    else
      current->values.push_back(std::move(v));
  }
}

bool SaveStore(const Store& store) {
  if (store.damaged) return false;
  std::string text = "; Zelsal registry store\n";
  WriteKey(store.root, "", &text);
  std::string dir = PlatConfigDir();
  PlatMkDirs(dir.c_str());
  std::string temp;
  PlatFile file;
  if (PlatCreateTempFile(dir.c_str(), "REG", ".TMP", &temp, &file) != PLAT_OK) return false;
  bool ok = PlatFileWrite(file, 0, text.data(), text.size()) == PLAT_OK && PlatFileFlush(file) == PLAT_OK;
  PlatFileClose(file);
  if (ok) ok = PlatFileRename(temp.c_str(), StorePath().c_str()) == PLAT_OK;
  if (!ok) PlatFileDelete(temp.c_str());
  return ok;
}

// Holds the store's lock file for one change, so two programs changing the
// store at once do not lose each other's change.
class StoreLock {
 public:
  StoreLock() {
    std::string dir = PlatConfigDir();
    PlatMkDirs(dir.c_str());
    if (PlatFileOpen((dir + "registry.lck").c_str(), PLAT_READ_WRITE, PLAT_OPEN_ALWAYS, &file_) != PLAT_OK) return;
    for (int tries = 0; tries < 200; tries++) {
      PlatResult r = PlatFileLock(file_, 0, 1, true);
      if (r == PLAT_OK || r == PLAT_NO_LOCKS) {
        held_ = r == PLAT_OK;
        locked_ = true;
        return;
      }
      PlatWaitMs(10);
    }
  }
  ~StoreLock() {
    if (held_) PlatFileUnlock(file_, 0, 1);
    if (file_ != PLAT_NO_FILE) PlatFileClose(file_);
  }
  bool Locked() const { return locked_; }

 private:
  PlatFile file_ = PLAT_NO_FILE;
  bool held_ = false;
  bool locked_ = false;
};

// Runs `change` on the loaded store and saves it; false when the store could
// not be locked or written, or `change` refused.
template <class Change>
bool ChangeStore(Change change) {
  StoreLock lock;
  if (!lock.Locked()) return false;
  Store store;
  LoadStore(&store);
  if (!change(&store.root, NowSeconds())) return false;
  return SaveStore(store);
}

// ---- keys of the record

std::string JoinPath(const std::string& base, const std::string& relative) {
  std::string joined = base;
  for (const std::string& part : SplitPath(relative)) {
    if (!joined.empty()) joined += '\\';
    joined += part;
  }
  return joined;
}

RegHandle BaseOf(const RegKeyCtx* key, const char* path) {
  if (path && path[0] == '\\') return key->root;
  return key->openKey ? key->openKey : key->root;
}

// The full store path of `path` by the record's rule.
std::string FullPath(const RegKeyCtx* key, const char* path) {
  RegHandle base = BaseOf(key, path);
  const char* relative = path ? path : "";
  if (relative[0] == '\\') relative++;
  return JoinPath(base ? base->path : "", relative);
}

RegHandle CurrentKey(const RegKeyCtx* key) { return key->openKey ? key->openKey : key->root; }

bool KeyExists(const std::string& path) {
  Store store;
  LoadStore(&store);
  return FindKey(&store.root, path) != nullptr;
}

void CloseHandle(RegHandle handle) {
  if (handle && handle != REG_CURRENT_USER) delete handle;
}

// The value as stored; false when it or its key is missing.
bool ReadStoredValue(RegHandle handle, const char* name, StoreValue* out) {
  if (!handle || !name) return false;
  Store store;
  LoadStore(&store);
  StoreKey* k = FindKey(&store.root, handle->path);
  if (!k) return false;
  StoreValue* v = FindValue(k, name);
  if (!v) return false;
  *out = *v;
  return true;
}

bool DeleteKey(const std::string& path) {
  if (SplitPath(path).empty()) return false;
  return ChangeStore([&](StoreKey* root, int64_t now) {
    std::vector<std::string> parts = SplitPath(path);
    std::string last = parts.back();
    parts.pop_back();
    std::string parentPath;
    for (const std::string& p : parts) parentPath = JoinPath(parentPath, p);
    StoreKey* parent = FindKey(root, parentPath);
    if (!parent) return false;
    auto it = std::find_if(parent->subkeys.begin(), parent->subkeys.end(),
                           [&](const StoreKey& k) { return SameName(k.name, last); });
    // Like the system's own call, a key with subkeys is not deleted.
    if (it == parent->subkeys.end() || !it->subkeys.empty()) return false;
    parent->subkeys.erase(it);
    parent->modified = now;
    return true;
  });
}

void CopyPath(char* out, const std::string& text) { std::snprintf(out, REG_PATH_SIZE, "%s", text.c_str()); }

}  // namespace

RegHandle const REG_CURRENT_USER = &currentUserRoot;

void RegKeyInit(RegKeyCtx* key, RegHandle root) {
  std::memset(key, 0, sizeof *key);
  key->root = root;
  key->access = REG_ALL_ACCESS;
  key->closeOnRelease = 1;
}

void RegKeyRelease(RegKeyCtx* key) {
  // Every change is on disk already: releasing without closing has nothing to flush.
  if (key->openKey && key->closeOnRelease) CloseHandle(key->openKey);
  key->openKey = nullptr;
  key->path[0] = '\0';
}

int RegKeyOpen(RegKeyCtx* key, const char* path, int create) {
  const char* given = path ? path : "";
  std::string full = FullPath(key, given);
  std::string canonical;
  bool ok;
  if (create && *given) {
    ok = ChangeStore([&](StoreKey* root, int64_t now) {
      return MakeKey(root, full, now, &canonical) != nullptr;
    });
    // An existing key opens even when the store cannot be written.
    if (!ok) {
      Store store;
      LoadStore(&store);
      ok = FindKey(&store.root, full) != nullptr;
      canonical = full;
    }
  } else {
    ok = KeyExists(full);
    canonical = full;
  }
  if (!ok) {
    ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE | EL_FLUSH, LOG_REG_OPEN, given);
    return 0;
  }
  std::string recorded = (key->openKey && given[0] != '\\') ? std::string(key->path) + "\\" + given : given;
  RegHandle opened = new RegOpenKey{canonical};
  RegKeyRelease(key);
  key->openKey = opened;
  CopyPath(key->path, recorded);
  return 1;
}

int RegKeyCreate(RegKeyCtx* key, const char* path) {
  if (!path || !*path) return 0;
  std::string full = FullPath(key, path);
  return ChangeStore([&](StoreKey* root, int64_t now) {
    return MakeKey(root, full, now, nullptr) != nullptr;
  }) ? 1 : 0;
}

int RegKeyExists(RegKeyCtx* key, const char* path) { return KeyExists(FullPath(key, path)) ? 1 : 0; }

int RegKeyDeleteTree(RegKeyCtx* key, const char* path) {
  if (!path || !*path || SplitPath(path).empty()) return 0;
  std::string full = FullPath(key, path);
  if (!KeyExists(full)) return 0;
  // With the key as the record's open key for the time being, the subkeys go
  // from the last down, each with its own subtree first.
  RegHandle saved = key->openKey;
  RegOpenKey opened{full};
  key->openKey = &opened;
  RegKeyInfoRec info;
  if (RegKeyInfo(key, &info)) {
    for (uint32_t i = info.subkeys; i-- > 0;) {
      char name[REG_PATH_SIZE];
      if (RegKeyEnumSubkey(key, i, name, sizeof name)) RegKeyDeleteTree(key, name);
    }
  }
  key->openKey = saved;
  return DeleteKey(full) ? 1 : 0;
}

int RegKeyInfo(RegKeyCtx* key, RegKeyInfoRec* info) {
  std::memset(info, 0, sizeof *info);
  Store store;
  LoadStore(&store);
  StoreKey* k = FindKey(&store.root, CurrentKey(key)->path);
  if (!k) return 0;
  info->subkeys = static_cast<uint32_t>(k->subkeys.size());
  info->values = static_cast<uint32_t>(k->values.size());
  for (const StoreKey& s : k->subkeys) info->longestSubkeyName = std::max<uint32_t>(info->longestSubkeyName, s.name.size());
  for (const StoreValue& v : k->values) {
    info->longestValueName = std::max<uint32_t>(info->longestValueName, v.name.size());
    info->longestValueData = std::max<uint32_t>(info->longestValueData, v.data.size());
  }
  info->lastChange = k->modified;
  return 1;
}

int RegKeyEnumSubkey(RegKeyCtx* key, uint32_t index, char* name, int size) {
  Store store;
  LoadStore(&store);
  StoreKey* k = FindKey(&store.root, CurrentKey(key)->path);
  if (!k || index >= k->subkeys.size() || size <= 0 || k->subkeys[index].name.size() >= static_cast<size_t>(size)) return 0;
  std::snprintf(name, size, "%s", k->subkeys[index].name.c_str());
  return 1;
}

int RegKeyEnumValue(RegKeyCtx* key, uint32_t index, char* name, int size) {
  Store store;
  LoadStore(&store);
  StoreKey* k = FindKey(&store.root, CurrentKey(key)->path);
  if (!k || index >= k->values.size() || size <= 0) return 0;
  std::vector<const StoreValue*> sorted;
  for (const StoreValue& v : k->values) sorted.push_back(&v);
  std::sort(sorted.begin(), sorted.end(), [](const StoreValue* a, const StoreValue* b) { return NameBefore(a->name, b->name); });
  if (sorted[index]->name.size() >= static_cast<size_t>(size)) return 0;
  std::snprintf(name, size, "%s", sorted[index]->name.c_str());
  return 1;
}

int RegValueInfo(RegKeyCtx* key, const char* name, uint32_t* type, uint32_t* size) {
  StoreValue v;
  if (!ReadStoredValue(CurrentKey(key), name, &v)) return 0;
  if (type) *type = v.type;
  if (size) *size = static_cast<uint32_t>(v.data.size());
  return 1;
}

int RegValueExists(RegKeyCtx* key, const char* name) { return RegValueInfo(key, name, nullptr, nullptr); }

int RegValueDelete(RegKeyCtx* key, const char* name) {
  if (!name) return 0;
  std::string path = CurrentKey(key)->path;
  return ChangeStore([&](StoreKey* root, int64_t now) {
    StoreKey* k = FindKey(root, path);
    if (!k) return false;
    auto it = std::find_if(k->values.begin(), k->values.end(), [&](const StoreValue& v) { return SameName(v.name, name); });
    if (it == k->values.end()) return false;
    k->values.erase(it);
    k->modified = now;
    return true;
  }) ? 1 : 0;
}

int RegValueRename(RegKeyCtx* key, const char* oldName, const char* newName) {
  if (!oldName || !newName) return 0;
  uint32_t type, size;
  if (!RegValueInfo(key, oldName, &type, &size) || RegValueExists(key, newName)) return 0;
  std::vector<unsigned char> data(size ? size : 1);
  uint32_t readType;
  if (size && RegReadValue(key, oldName, data.data(), size, &readType) != static_cast<int>(size)) return 0;
  // Written first under the new name, so a failure cannot lose the value.
  if (!RegWriteValue(key, newName, data.data(), size, type)) return 0;
  RegValueDelete(key, oldName);
  return 1;
}

int RegReadValue(RegKeyCtx* key, const char* name, void* buffer, uint32_t size, uint32_t* type) {
  StoreValue v;
  if (!ReadStoredValue(CurrentKey(key), name, &v) || !buffer || v.data.size() > size) {
    ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE, LOG_REG_READ, name ? name : "");
    return 0;
  }
  std::memcpy(buffer, v.data.data(), v.data.size());
  if (type) *type = v.type;
  return static_cast<int>(v.data.size());
}

int RegReadText(RegKeyCtx* key, const char* name, char* buffer, uint32_t size) {
  if (!buffer || size == 0) return 0;
  uint32_t type = REG_TYPE_NONE;
  int n = RegReadValue(key, name, buffer, size, &type);
  // A text stored without its NUL still ends inside the buffer.
  if (n > 0 && buffer[n - 1] != '\0') {
    if (static_cast<uint32_t>(n) < size)
      buffer[n] = '\0';
    else
      buffer[size - 1] = '\0';
  }
  if (n <= 0) buffer[0] = '\0';
  return n >= 1 && (type == REG_TYPE_TEXT || type == REG_TYPE_EXPAND_TEXT) ? 1 : 0;
}

int32_t RegReadInt(RegKeyCtx* key, const char* name) {
  unsigned char b[4];
  uint32_t type;
  if (RegReadValue(key, name, b, 4, &type) != 4) return -1;
  return static_cast<int32_t>(GetLe32(b));
}

double RegReadDouble(RegKeyCtx* key, const char* name) {
  unsigned char b[8];
  uint32_t type;
  if (RegReadValue(key, name, b, 8, &type) != 8) return 0;
  double value;
  std::memcpy(&value, b, 8);
  return value;
}

RegQword RegReadQword(RegKeyCtx* key, const char* name, RegQword* out) {
  unsigned char b[8];
  uint32_t type;
  RegQword value{0, 0};
  if (RegReadValue(key, name, b, 8, &type) == 8) {
    value.low = static_cast<int32_t>(GetLe32(b));
    value.high = static_cast<int32_t>(GetLe32(b + 4));
  }
  if (out) *out = value;
  return value;
}

int RegWriteValue(RegKeyCtx* key, const char* name, const void* data, uint32_t size, uint32_t type) {
  std::string path = CurrentKey(key)->path;
  bool ok = name && (data || size == 0) && ChangeStore([&](StoreKey* root, int64_t now) {
              StoreKey* k = FindKey(root, path);
              if (!k) return false;
              StoreValue v;
              v.name = name;
              v.type = type;
              v.data.assign(static_cast<const char*>(data), size);
              if (StoreValue* old = FindValue(k, name)) {
                old->type = type;
                old->data = v.data;
              } else {
                k->values.push_back(std::move(v));
              }
              k->modified = now;
              return true;
            });
  if (!ok) {
    ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE, LOG_REG_WRITE, name ? name : "");
    return 0;
  }
  return 1;
}

int RegWriteText(RegKeyCtx* key, const char* name, const char* text) {
  const char* t = text ? text : "";
  return RegWriteValue(key, name, t, static_cast<uint32_t>(std::strlen(t) + 1), REG_TYPE_TEXT);
}

int RegWriteInt(RegKeyCtx* key, const char* name, int32_t value) {
  unsigned char b[4];
  PutLe32(b, static_cast<uint32_t>(value));
  return RegWriteValue(key, name, b, 4, REG_TYPE_INT32);
}

int RegWriteDouble(RegKeyCtx* key, const char* name, const void* eightBytes) {
  return RegWriteValue(key, name, eightBytes, 8, REG_TYPE_BINARY);
}

int RegWriteBinary(RegKeyCtx* key, const char* name, const void* data, uint32_t size) {
  return RegWriteValue(key, name, data, size, REG_TYPE_BINARY);
}

void LoadBir1Sid(char* buffer, int size) {
  if (!buffer || size <= 0) return;
  std::memset(buffer, 0, size);
  RegKeyCtx key;
  RegKeyInit(&key, REG_CURRENT_USER);
  if (RegKeyOpen(&key, REG_PRODUCT_KEY, 0)) RegReadText(&key, "BIR1_SID", buffer, size);
  RegKeyRelease(&key);
}

void SaveBir1Sid(const char* text) {
  RegKeyCtx key;
  RegKeyInit(&key, REG_CURRENT_USER);
  if (RegKeyOpen(&key, REG_PRODUCT_KEY, 1)) RegWriteText(&key, "BIR1_SID", text);
  RegKeyRelease(&key);
}

std::string RegProductSetting(const char* subkey, const char* name) {
  StoreValue v;
  RegOpenKey at{JoinPath(REG_PRODUCT_KEY, subkey ? subkey : "")};
  if (!ReadStoredValue(&at, name, &v) || (v.type != REG_TYPE_TEXT && v.type != REG_TYPE_EXPAND_TEXT)) return "";
  return std::string(v.data.c_str());
}

std::string RegDriveRootLookup(char letter) {
  char name[2] = {static_cast<char>(Fold(letter)), '\0'};
  return RegProductSetting("Drives", name);
}
