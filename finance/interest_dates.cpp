#include "env/dates.h"
#include "finance/interest.h"
#include "ui/get4.h"
#include "ui/message_box.h"
#include "ui/validators.h"

namespace {

constexpr int LAST_YEAR_REFUSED = 1992;
constexpr int MSG_YEAR_AFTER_1992 = 20164;   // "Rok musi być większy od 1992 !"

}  // namespace

int SprawdzDateOdsetek(Get4* get) {
  if (test_daty_niepustej(get) != 0) return -1;
  if (date4year(static_cast<const char*>(get->data)) > LAST_YEAR_REFUSED) return 0;
  Alarm(MSG_YEAR_AFTER_1992);
  return -1;
}
