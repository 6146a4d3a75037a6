// The two dialogs that ask the operator for a name on disk: an output file
// and an existing directory. Names stay in the system's form (its character
// set, backslashes); they are turned into disk paths only to be checked.
#pragma once

// Asks for the name of an output file into `buffer` (size bytes), starting
// from `defaultName`; `safe` makes the name plain ASCII without the
// characters / * ? " < > | &. 0 accepted, -1 left with Esc.
int GetFileOutputName(char* buffer, int size, const char* defaultName, int safe);
// Asks for an existing directory into `buffer` (width bytes). 1 accepted,
// 0 left.
int Podaj_Nazwe_Katalogu(char* buffer, int width, const char* defaultName);
// A directory name typed into a form: 0 when it names an existing directory;
// a reserved device name says "Nazwa jest zastrzeżona dla systemu.", any
// other name "Nie ma takiego katalogu.", and both give -1.
int CheckDirectoryName(const char* name);
