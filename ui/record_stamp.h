// Record stamps: who added or last changed a record and when, kept scrambled
// in the record's 32-character field INF, and the scrambling routine itself
// (also used by the operator table for names, passwords and rights).
#pragma once

struct DbField;

constexpr int STAMP_LEN = 32;
constexpr int STAMP_KIND_MODIFIED = 1;   // any other kind stamps an added record

// Scrambles n bytes in place with the six-digit key; the mode shifts every byte
// by 14 * mode. deconver_pass with the same mode gives the bytes back.
void conver_pass(char* buffer, int n, signed char mode);
void deconver_pass(char* buffer, int n, signed char mode);

// Writes the stamp ('M' for kind 1, 'D' otherwise, the operator's name, the
// date and the time) into the field, cut to its width and scrambled with
// mode 1. Nothing when the field is NULL.
void set_pass_inf(int kind, DbField* field);

// Today's date "CCYYMMDD" and the time "hh:mm:ss" as the stamp writes them,
// taken from one reading of the clock (8 bytes each, no NUL).
void StampDateTime(char* date, char* time);
