// Work over every record of the current browse's filtered list.
#pragma once
#include <functional>

// Runs `change` on each record the browse lists, in its order, and writes
// the record under its lock; -1 at once on a write or engine error. The
// list's order and record come back and it is redisplayed (0, or -1 when
// that fails).
int ChangeEveryListed(const std::function<void()>& change);
