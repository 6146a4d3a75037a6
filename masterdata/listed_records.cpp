#include "masterdata/listed_records.h"

#include "db/db_lock.h"
#include "db/db_scan.h"
#include "ui/browse.h"

int ChangeEveryListed(const std::function<void()>& change) {
  BrowseContext* browse = CurrentBrowse;
  if (!browse) return -1;
  if (InitDbScan(&browse->scan, nullptr, nullptr, 0, 0) != 0) return -1;
  int moved = x4top(&browse->scan);
  for (; moved == 0; moved = x4skip(&browse->scan, 1)) {
    change();
    if (write_and_unlock(browse->table) != 0) return -1;
  }
  if (moved < 0) return -1;
  DbScan(&browse->scan, DBSCAN_SAVED_TAG | DBSCAN_SAVED_RECORD);
  return browse_call(0, 0) < 0 ? -1 : 0;
}
