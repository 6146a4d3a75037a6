// Temporary files in the current directory, created through the engine.
#pragma once

struct DbFile;

// A new empty file "TEMPnnnn.TMP" in the current directory, its name left in
// `name` (at least 13 bytes); a name already there is kept. 0, or -1 with
// the name emptied.
int open_tmp(DbFile* file, char* name);
