// The table of register drivers: one case per type whose driver is built.
#include "fiscal/cash_register_layer.h"

const KFDriver* KFDriverOfType(int type) {
  switch (type) {
    case KASA_TANGO:
    case KASA_BRAVO:
    case KASA_NOVITUS: return &kfDriverTango;
    case KASA_ELZAB: return &kfDriverElzab;
    default: return nullptr;
  }
}
