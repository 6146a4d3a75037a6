// Tables of the VAT registers and the JPK files: purchase documents "Z5ZAKU"
// and their lines "Z5ZAKE", the VAT-OSS register "Z5VOSS" of the working
// year, the register of exported declarations "Z5DEKL" in the common
// directory, and the JPK work table named like the XML file being written.
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5ZAKU, Z5ZAKE, Z5VOSS, Z5DEKL, JpkWork;

// Year 0 is the working year.
int OpenZ5ZAKU(int year, int flags);
int OpenZ5ZAKE(int year, int flags);
int OpenZ5VOSS(int flags);
// 0, or -1 for any failure.
int OpenZ5DEKL(int flags);
// directory NULL: the current one; the exports pass flags 8 (created anew).
int OpenJpkWorkTable(const char* directory, const char* fileName, int flags);
