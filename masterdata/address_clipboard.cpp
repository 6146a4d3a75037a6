// The name/address clipboard: copied from the running module's fields,
// pasted into them, each member as wide as the clipboard keeps it.
#include "masterdata/address_clipboard.h"

#include <algorithm>
#include <cstring>

#include "app/prompts.h"
#include "db/dbf_table.h"
#include "env/memory.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "ui/browse.h"

SchowekAdresu* schowek_adresu = nullptr;
PolaSchowkaAdresu pola_schowka_adresu{};

namespace {

constexpr int KEY_CTRL_O = 15;
constexpr int KEY_CTRL_Z = 26;

// A member of the clipboard beside the field it goes to and comes from.
struct Slot {
  DbField* field;
  char* member;
  int width;
};

template <size_t N>
Slot SlotOf(DbField* field, char (&member)[N]) {
  return Slot{field, member, static_cast<int>(N)};
}

// Every member but the code, in the clipboard's order.
int Slots(Slot* out) {
  SchowekAdresu& s = *schowek_adresu;
  const PolaSchowkaAdresu& p = pola_schowka_adresu;
  Slot all[] = {SlotOf(p.name1, s.name1), SlotOf(p.name2, s.name2), SlotOf(p.postal_code, s.postal_code),
                SlotOf(p.town, s.town),   SlotOf(p.street, s.street), SlotOf(p.nip, s.nip),
                SlotOf(p.flag, s.flag)};
  int n = 0;
  for (const Slot& slot : all)
    if (slot.field) out[n++] = slot;
  return n;
}

int Width(DbField* field, int member) { return std::min(static_cast<int>(f4len(field)), member); }

}  // namespace

int alloc_schowek_adresu() {
  if (!schowek_adresu) schowek_adresu = static_cast<SchowekAdresu*>(take_mem(sizeof(SchowekAdresu)));
  if (!schowek_adresu) return -1;
  std::memset(schowek_adresu, ' ', sizeof(SchowekAdresu));
  return 0;
}

int free_schowek_adresu() {
  free_mem(&schowek_adresu);
  return 0;
}

void kopiuj_adres_do_schowka() {
  if (!schowek_adresu) return;
  Slot slots[8];
  slots[0] = SlotOf(pola_schowka_adresu.code, schowek_adresu->code);
  int n = slots[0].field ? 1 : 0;
  n += Slots(slots + n);
  // A field narrower than its member leaves the member's tail as it was.
  for (int i = 0; i < n; i++) ToMemCopyField(slots[i].member, slots[i].field, Width(slots[i].field, slots[i].width));
}

int kopiuj_adres(int key) {
  if (key != KEY_CTRL_Z || !schowek_adresu) return 0;
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  kopiuj_adres_do_schowka();
  write_beep();
  return 0;
}

int wklej_adres(int key, char* codeBuffer) {
  if (key != KEY_CTRL_O || !schowek_adresu) return 0;
  if (DbField* code = pola_schowka_adresu.code)
    std::memcpy(codeBuffer, schowek_adresu->code, static_cast<size_t>(Width(code, sizeof schowek_adresu->code)));
  Slot slots[7];
  int n = Slots(slots);
  for (int i = 0; i < n; i++) {
    EmptyField(slots[i].field);
    ToFieldCopyMem(slots[i].field, slots[i].member, Width(slots[i].field, slots[i].width));
  }
  write_beep();
  OdswiezGety();
  return 1;
}
