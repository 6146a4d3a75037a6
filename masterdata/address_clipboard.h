// The name/address clipboard of one module run: Ctrl+Z in a register copies
// the buyer or supplier of the current record, Ctrl+O in a code field pastes
// it into the form of another. The fields it works on are the running
// module's, named in its clipboard field set.
#pragma once

struct DbField;

// The clipboard: blanks when empty, no terminators, 431 characters.
struct SchowekAdresu {
  char code[50];
  char name1[80];
  char name2[80];
  char postal_code[50];
  char town[50];
  char street[70];
  char nip[50];
  char flag[1];
};
static_assert(sizeof(SchowekAdresu) == 431, "the clipboard keeps its layout");

// The running module's fields; any member may be empty. The module entry
// sets the set before its browse. Beyond the members the clipboard holds,
// the contractors catalogue reads the payment form, the descriptions and
// the person when it prefills a new contractor, and the sales registers add
// the country, the discount and the contractor kind for their buyer pick.
struct PolaSchowkaAdresu {
  DbField* code;
  DbField* name1;
  DbField* name2;
  DbField* postal_code;
  DbField* town;
  DbField* street;
  DbField* nip;
  DbField* flag;
  DbField* payment;
  DbField* description1;
  DbField* description2;
  DbField* person;
  DbField* country;
  DbField* discount;
  DbField* kind;
};

// NULL while no clipboard is allocated.
extern SchowekAdresu* schowek_adresu;
extern PolaSchowkaAdresu pola_schowka_adresu;

// Allocates the clipboard filled with blanks; 0, or -1 without memory (the
// module then runs without one).
int alloc_schowek_adresu();
// Frees it; 0.
int free_schowek_adresu();
// Browse key routine: Ctrl+Z (26) copies the current record's name and
// address into the clipboard (" Brak pozycji !" in an empty browse). 0.
int kopiuj_adres(int key);
// Ctrl+O (15) in the code field: pastes the clipboard, the code into the
// field's edit buffer, the rest into the set's fields, and redisplays the
// gets. 1 when something was pasted, else 0.
int wklej_adres(int key, char* codeBuffer);
// The copy of kopiuj_adres without its checks and its signal.
void kopiuj_adres_do_schowka();
