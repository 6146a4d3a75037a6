// The outside lookup library "Kwerlib4.dll" (a shared object on Linux): company
// data from the BIR1 service by NIP, REGON or KRS, VAT numbers in VIES and the
// list of active VAT taxpayers. Loaded and initialised at the first lookup,
// kept until Free_Kwer_Module; every call gets a 620-byte context whose
// layout is shared with the library.
#pragma once

constexpr const char* KWER_LIBRARY = "Kwerlib4.dll";

// The context record, read and written at its offsets.
constexpr int KWER_CTX_SIZE = 620;
constexpr int KWER_CTX_ID = 0;             // identifier before "Init", session identifier after login
constexpr int KWER_CTX_ID_SIZE = 121;
constexpr int KWER_CTX_ERROR = 368;        // int32 set by the library
constexpr int KWER_CTX_SYSTEM_ERROR = 372; // int32, 0 for none
constexpr int KWER_CTX_TEXT = 376;         // error text, NUL-terminated
constexpr int KWER_CTX_TEXT_SIZE = 244;

struct KwerCtx {
  unsigned char bytes[KWER_CTX_SIZE];
};

// Error codes of the library with names.
constexpr int KWER_SERVICE_UNAVAILABLE = -3;
constexpr int KWER_NO_SESSION = -4;
constexpr int KWER_TECHNICAL_BREAK = -5;

// Result records, allocated by the caller.
constexpr int KWER_BIR1_RESULT_SIZE = 3796;
constexpr int KWER_VIES_RESULT_SIZE = 728;
constexpr int KWER_VAT_RESULT_SIZE = 1084;

// Log codes.
constexpr int LOG_KWER_ERROR_NAMED = 90;
constexpr int LOG_KWER_ERROR = 190;
constexpr int LOG_KWER_NO_INIT = 191;
constexpr int LOG_KWER_INIT = 93;
constexpr int LOG_KWER_DEINIT = 94;

// Nonzero when the outside call succeeded (the record is filled); 0 after the error report.
int Szukaj_BIR1_Nip(const char* nip, void* result);
int Szukaj_BIR1_Regon(const char* regon, void* result);
int Szukaj_BIR1_Krs(const char* krs, void* result);
// Nonzero when the call succeeded and the status is 0 or 1; 0 after a message.
int Szukaj_VIES(const char* countryCode, const char* vatNumber, void* result);
int Sprawdz_VAT_Czynny(const char* nip, void* result);
// Calls "DeInit" and unloads the library when it is loaded.
void Free_Kwer_Module();
