#include "app/settlement.h"

#include "env/numbers.h"

int KwotyRozliczone(double due, double paid) {
  due = ROUND(due, 6);
  paid = ROUND(paid, 6);
  if (due == 0) return 1;
  if (due > 0) return paid >= due ? 1 : 0;
  return paid <= due ? 1 : 0;
}
