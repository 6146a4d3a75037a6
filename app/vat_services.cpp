#include "app/vat_services.h"

int grupa_stawki_vat(int code) {
  switch (code) {
    case 5:
    case 6:
    case 13: return 3;
    case 7:
    case 10:
    case 11: return 7;
    default: return code;
  }
}
