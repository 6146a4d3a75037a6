#include "interchange/lookup_library.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/session/environment.h"
#include "env/error_log.h"
#include "interchange/registry.h"
#include "platform/byte_order.h"
#include "platform/dynlib.h"
#include "platform/screen_hook.h"

namespace {

enum Entry {
  E_INIT,
  E_DEINIT,
  E_BIR1_INIT,
  E_BIR1_LOGIN_SID,
  E_BIR1_NIP,
  E_BIR1_REGON,
  E_BIR1_KRS,
  E_BIR1_SESSION,
  E_BIR1_STATUS,
  E_BIR1_LOGIN,
  E_VIES_INIT,
  E_VIES_STATUS,
  E_VAT_INIT,
  E_VAT_CHECK,
  ENTRY_COUNT
};

const char* const kEntryNames[ENTRY_COUNT] = {
    "Init",         "DeInit",           "BIR1_Init",         "BIR1_ZalogujSid", "BIR1_SzukajNip",
    "BIR1_SzukajRegon", "BIR1_SzukajKrs", "BIR1_UslugaSesja", "BIR1_UslugaStatus", "BIR1_Zaloguj",
    "VIES_Init",    "VIES_Status_NET",  "VAT_CzynnyInit",    "VAT_CzynnySprawdz",
};

typedef int (*CtxCall)(void* ctx);
typedef int (*Bir1InitCall)(const char* serviceKey, const char* sessionId, void* ctx);
typedef int (*NumberCall)(const char* number, void* result, void* ctx);
typedef int (*ViesCall)(const char* countryCode, const char* vatNumber, void* result, void* ctx);

PlatLibrary library = nullptr;
void* entries[ENTRY_COUNT];
const char* lastCalled = "";

// The system's identifier for the outside services (32 characters).
const char kIdentifier[] = "ZELSAL5-KWERLIB-ID-0000000000001";
static_assert(sizeof kIdentifier == 33);

// The BIR1 service key exists only while it is being passed on.
const unsigned char kKeyMask[20] = {0x5A, 0x13, 0x7E, 0x21, 0x08, 0x44, 0x6B, 0x19, 0x33, 0x70,
                                    0x2D, 0x0E, 0x61, 0x39, 0x17, 0x52, 0x48, 0x0C, 0x25, 0x76};
const unsigned char kKeyBits[20] = {0x00, 0x58, 0x4B, 0x6D, 0x39, 0x2A, 0x00, 0x2D, 0x60, 0x02,
                                    0x5B, 0x3E, 0x2A, 0x4E, 0x72, 0x20, 0x7A, 0x3C, 0x17, 0x40};

void BuildServiceKey(char out[21]) {
  for (int i = 0; i < 20; i++) out[i] = static_cast<char>(kKeyMask[i] ^ kKeyBits[i]);
  out[20] = '\0';
}

// A NUL-terminated text of the context, bounded by its field.
std::string CtxText(const KwerCtx* ctx, int offset, int size) {
  const char* p = reinterpret_cast<const char*>(ctx->bytes + offset);
  return std::string(p, strnlen(p, size));
}

void Forget() {
  PlatLibraryFree(library);
  library = nullptr;
  for (void*& e : entries) e = nullptr;
}

void LogKwer(int code, const char* text, bool before) {
  ErrLogMessage(before ? EL_TEXT | EL_BLANK_BEFORE | EL_FLUSH : EL_TEXT | EL_FLUSH, code, text);
}

// A missing entry point fails like a call that answered 0.
int CallCtx(Entry e, KwerCtx* ctx) {
  lastCalled = kEntryNames[e];
  return entries[e] ? reinterpret_cast<CtxCall>(entries[e])(ctx->bytes) : 0;
}

int CallNumber(Entry e, const char* number, void* result, KwerCtx* ctx) {
  lastCalled = kEntryNames[e];
  return entries[e] ? reinterpret_cast<NumberCall>(entries[e])(number, result, ctx->bytes) : 0;
}

void ErrorReport(const KwerCtx* ctx, bool quiet) {
  int32_t code = static_cast<int32_t>(GetLe32(ctx->bytes + KWER_CTX_ERROR));
  const char* name = code == KWER_TECHNICAL_BREAK      ? "KWER_Bir1PrzerwaTech"
                     : code == KWER_NO_SESSION         ? "KWER_Bir1BrakSesji"
                     : code == KWER_SERVICE_UNAVAILABLE ? "KWER_Bir1UslugaNieDostepna"
                                                        : nullptr;
  int flags = EL_FORMAT | EL_ERROR | EL_NEW_HEADER | EL_WINDOW_LINES;
  int32_t systemError = static_cast<int32_t>(GetLe32(ctx->bytes + KWER_CTX_SYSTEM_ERROR));
  std::string text = CtxText(ctx, KWER_CTX_TEXT, KWER_CTX_TEXT_SIZE);
  if (systemError != 0) flags |= EL_SYSTEM_ERROR;
  if (systemError != 0) errno = systemError;   // the log reports it as the system's last error
  ErrLogMessage(flags, name ? LOG_KWER_ERROR_NAMED : LOG_KWER_ERROR, " Kwerlib.%s(%i), %s, Path1(%s)", lastCalled,
                static_cast<int>(code), text.c_str(), "");
  if (name && !quiet) {
    ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE | EL_FLUSH, LOG_ALARM, name);
    ScreenMessageBox(SCREEN_BOX_ERROR, nullptr, name);
  }
}

// "DeInit", a failure reported without a box.
void DeInit() {
  KwerCtx ctx{};
  LogKwer(LOG_KWER_DEINIT, "kwer_DeInit", true);
  int ok = CallCtx(E_DEINIT, &ctx);
  LogKwer(LOG_KWER_DEINIT, "...RET", false);
  if (!ok) ErrorReport(&ctx, true);
}

// Loads and initialises the library once; false after the report.
bool Load(KwerCtx* ctx) {
  if (library) return true;
  PlatLibrary loaded = EnvLoadLibrary(KWER_LIBRARY);
  if (!loaded) return false;
  void* init = PlatLibrarySymbol(loaded, kEntryNames[E_INIT]);
  if (!init) {
    ErrLogMessage(EL_FORMAT | EL_ERROR | EL_BLANK_BEFORE | EL_SYSTEM_ERROR | EL_CWD, LOG_KWER_NO_INIT, "%ld", 0L);
    PlatLibraryFree(loaded);
    return false;
  }
  library = loaded;
  for (int e = 0; e < ENTRY_COUNT; e++) entries[e] = PlatLibrarySymbol(library, kEntryNames[e]);

  std::memcpy(ctx->bytes + KWER_CTX_ID, kIdentifier, sizeof kIdentifier);
  LogKwer(LOG_KWER_INIT, "kwer_Init", true);
  bool initialised = CallCtx(E_INIT, ctx) != 0;
  LogKwer(LOG_KWER_INIT, "...RET", false);
  bool ok = initialised;
  if (ok) {
    char sessionId[31];
    LoadBir1Sid(sessionId, sizeof sessionId);
    char serviceKey[21];
    BuildServiceKey(serviceKey);
    lastCalled = kEntryNames[E_BIR1_INIT];
    ok = entries[E_BIR1_INIT] && reinterpret_cast<Bir1InitCall>(entries[E_BIR1_INIT])(serviceKey, sessionId, ctx->bytes);
    std::memset(serviceKey, 0, sizeof serviceKey);
    ok = ok && CallCtx(E_VIES_INIT, ctx) && CallCtx(E_VAT_INIT, ctx);
  }
  if (ok) return true;
  ErrorReport(ctx, false);
  // A library whose Init went through is given back its DeInit before it goes.
  if (initialised) DeInit();
  Forget();
  return false;
}

int Bir1Lookup(Entry search, const char* number, void* result) {
  KwerCtx ctx{};
  if (!Load(&ctx)) return 0;
  if (CallCtx(E_BIR1_LOGIN_SID, &ctx)) SaveBir1Sid(CtxText(&ctx, KWER_CTX_ID, KWER_CTX_ID_SIZE).c_str());
  std::memset(result, 0, KWER_BIR1_RESULT_SIZE);
  int r = CallNumber(search, number, result, &ctx);
  if (!r) ErrorReport(&ctx, false);
  return r;
}

struct ViesMessage {
  int status;
  const char* first;    // UTF-8
  bool checkAgain;
};

const ViesMessage kViesMessages[] = {
    {-1, "Błędny kod kraju.", false},
    {-2, "Przerwa techniczna (-2).", true},
    {-3, "Przerwa techniczna (-3).", true},
    {-4, "Przerwa techniczna (-4).", true},
    {-5, "Przerwa techniczna (-5).", true},
    {-6, "VAT zablokowany.", false},
    {-7, "Blokada adresu IP tego komputera.", false},
    {-8, "Przeciążenie serwera (-8).", true},
    {-9, "Przeciążenie serwera (-9).", true},
    {-10, "Przeciążenie serwera (-10).", true},
    {-11, "Przeciążenie serwera (-11).", true},
};

}  // namespace

int Szukaj_BIR1_Nip(const char* nip, void* result) { return Bir1Lookup(E_BIR1_NIP, nip, result); }
int Szukaj_BIR1_Regon(const char* regon, void* result) { return Bir1Lookup(E_BIR1_REGON, regon, result); }
int Szukaj_BIR1_Krs(const char* krs, void* result) { return Bir1Lookup(E_BIR1_KRS, krs, result); }

int Szukaj_VIES(const char* countryCode, const char* vatNumber, void* result) {
  KwerCtx ctx{};
  if (!Load(&ctx)) return 0;
  std::memset(result, 0, KWER_VIES_RESULT_SIZE);
  lastCalled = kEntryNames[E_VIES_STATUS];
  int r = entries[E_VIES_STATUS]
              ? reinterpret_cast<ViesCall>(entries[E_VIES_STATUS])(countryCode, vatNumber, result, ctx.bytes)
              : 0;
  if (!r) {
    ErrorReport(&ctx, false);
    return 0;
  }
  int32_t status = static_cast<int32_t>(GetLe32(static_cast<const unsigned char*>(result)));
  if (status == 0 || status == 1) return r;
  std::string first, second;
  for (const ViesMessage& m : kViesMessages) {
    if (m.status == status) {
      first = Utf8ToMazText(m.first);
      if (m.checkAgain) second = Utf8ToMazText("Proszę sprawdzić ponownie.");
    }
  }
  if (first.empty()) first = Utf8ToMazText(("Nierozpoznany błąd VIES (" + std::to_string(status) + ").").c_str());
  ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE | EL_FLUSH, LOG_ALARM, first.c_str());
  ScreenMessageBox(SCREEN_BOX_ERROR, nullptr, second.empty() ? first.c_str() : (first + "\n" + second).c_str());
  return 0;
}

int Sprawdz_VAT_Czynny(const char* nip, void* result) {
  KwerCtx ctx{};
  if (!Load(&ctx)) return 0;
  std::memset(result, 0, KWER_VAT_RESULT_SIZE);
  int r = CallNumber(E_VAT_CHECK, nip, result, &ctx);
  if (!r) ErrorReport(&ctx, false);
  return r;
}

void Free_Kwer_Module() {
  if (!library) return;
  DeInit();
  Forget();
}
