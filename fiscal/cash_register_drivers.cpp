// The table of register drivers: one case per type whose driver is built.
#include "fiscal/cash_register_layer.h"

const KFDriver* KFDriverOfType(int type) {
  switch (type) {
    case KASA_ADAX:
    case KASA_TOTAL_TAX: return &kfDriverAdax;
    case KASA_DSA40: return &kfDriverDsa40;
    case KASA_DSA100: return &kfDriverDsa100;
    case KASA_DSA4000S: return &kfDriverDsa4000;
    case KASA_MALA: return &kfDriverMala;
    case KASA_CR280_PLUS: return &kfDriverCr280Plus;
    case KASA_CR280_PLUS3: return &kfDriverCr280Plus3;
    case KASA_CR280_THER3: return &kfDriverCr280Ther3;
    case KASA_CR280_THER4: return &kfDriverCr280Ther4;
    case KASA_OMRON: return &kfDriverOmron;
    case KASA_PS2000: return &kfDriverPs2000;
    case KASA_TANGO:
    case KASA_BRAVO:
    case KASA_NOVITUS: return &kfDriverTango;
    case KASA_ELZAB: return &kfDriverElzab;
    default: return nullptr;
  }
}
