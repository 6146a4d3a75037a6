// The registry: a small store of nested keys holding typed values, kept in a
// text file under the user's configuration directory ($XDG_CONFIG_HOME/zelsal)
// and rewritten atomically on every change. Key and value names are compared
// without regard to case; "\" separates the levels of a key path.
// The key record remembers a root, the key open now and its path.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// An open key of the store; the roots are predefined.
struct RegOpenKey;
typedef RegOpenKey* RegHandle;
extern RegHandle const REG_CURRENT_USER;

// Value types.
constexpr uint32_t REG_TYPE_NONE = 0;
constexpr uint32_t REG_TYPE_TEXT = 1;
constexpr uint32_t REG_TYPE_EXPAND_TEXT = 2;
constexpr uint32_t REG_TYPE_BINARY = 3;
constexpr uint32_t REG_TYPE_INT32 = 4;
constexpr uint32_t REG_TYPE_INT64 = 11;

constexpr uint32_t REG_ALL_ACCESS = 0xF003F;
constexpr int REG_PATH_SIZE = 256;
// Levels of a key path the store keeps; a deeper key is not created, and one
// in the file marks the store damaged.
constexpr size_t REG_MAX_DEPTH = 512;

// Log codes of the registry.
constexpr int LOG_REG_OPEN = 250;
constexpr int LOG_REG_READ = 251;
constexpr int LOG_REG_WRITE = 252;

struct RegKeyCtx {
  RegHandle openKey;          // NULL when none is open
  RegHandle root;
  int32_t closeOnRelease;     // 1: releasing closes the open key; 0: only flushes it
  uint32_t access;
  char path[REG_PATH_SIZE];   // of the open key below the root
};

struct RegKeyInfoRec {
  uint32_t subkeys;
  uint32_t longestSubkeyName;
  uint32_t values;
  uint32_t longestValueName;
  uint32_t longestValueData;
  int64_t lastChange;         // seconds since the epoch
};

struct RegQword {
  int32_t low;
  int32_t high;
};

void RegKeyInit(RegKeyCtx* key, RegHandle root);
void RegKeyRelease(RegKeyCtx* key);
// A path beginning with "\" is taken below the root, any other below the open
// key (below the root when none is open). 1 done; 0 after log code 250.
int RegKeyOpen(RegKeyCtx* key, const char* path, int create);
int RegKeyCreate(RegKeyCtx* key, const char* path);
int RegKeyExists(RegKeyCtx* key, const char* path);
// The key with all its subkeys, the deepest first; 1 when the key itself went.
int RegKeyDeleteTree(RegKeyCtx* key, const char* path);
int RegKeyInfo(RegKeyCtx* key, RegKeyInfoRec* info);
// Enumeration of the open key: the name of subkey or value number `index`
// (0-based, in name order); 0 past the last one.
int RegKeyEnumSubkey(RegKeyCtx* key, uint32_t index, char* name, int size);
int RegKeyEnumValue(RegKeyCtx* key, uint32_t index, char* name, int size);

int RegValueInfo(RegKeyCtx* key, const char* name, uint32_t* type, uint32_t* size);
int RegValueExists(RegKeyCtx* key, const char* name);
int RegValueDelete(RegKeyCtx* key, const char* name);
int RegValueRename(RegKeyCtx* key, const char* oldName, const char* newName);

// The number of bytes read; 0 after log code 251 (also when the buffer is too small).
int RegReadValue(RegKeyCtx* key, const char* name, void* buffer, uint32_t size, uint32_t* type);
// 1 when at least one byte was read and the value is a text; always NUL-terminated.
int RegReadText(RegKeyCtx* key, const char* name, char* buffer, uint32_t size);
int32_t RegReadInt(RegKeyCtx* key, const char* name);                    // -1 when it cannot be read
double RegReadDouble(RegKeyCtx* key, const char* name);                  // 0 when it cannot be read
RegQword RegReadQword(RegKeyCtx* key, const char* name, RegQword* out);  // zeros when it cannot be read

// 1 done; 0 after log code 252.
int RegWriteValue(RegKeyCtx* key, const char* name, const void* data, uint32_t size, uint32_t type);
int RegWriteText(RegKeyCtx* key, const char* name, const char* text);
int RegWriteInt(RegKeyCtx* key, const char* name, int32_t value);
int RegWriteDouble(RegKeyCtx* key, const char* name, const void* eightBytes);
int RegWriteBinary(RegKeyCtx* key, const char* name, const void* data, uint32_t size);

// The product's key below the current user's root.
constexpr const char* REG_PRODUCT_KEY = "Software\\Ostrel\\WinZelm";

// The BIR1 session identifier of the lookup library.
void LoadBir1Sid(char* buffer, int size);
void SaveBir1Sid(const char* text);

// A text setting of the platform stand-ins below the product's key (subkey,
// value); empty when it is not set. Reads quietly: a missing setting is normal.
std::string RegProductSetting(const char* subkey, const char* name);
// The root directory of a drive letter: value "<letter>" of the product's
// subkey "Drives"; for PlatSetDriveRootLookup.
std::string RegDriveRootLookup(char letter);
