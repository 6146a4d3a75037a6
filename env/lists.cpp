#include "env/lists.h"
#include "env/error_codes.h"

static DbLink* link_of(const void* element) { return (DbLink*)element; }

// A walk of the whole ring costs as much as the list is long (the block
// cache's lists hold thousands): the sanitizer build walks it on every
// change; other builds check the links each change touches.
#ifdef ZELSAL_FULL_CHECKS
constexpr bool kWalkOnChange = true;
#else
constexpr bool kWalkOnChange = false;
#endif

// An element whose neighbour points back at it is in a ring.
static bool linked(const DbLink* e) {
  return e->next != nullptr && e->prev != nullptr && e->next->prev == e && e->prev->next == e;
}

// After a change: the ring around `at` (and the last element) still closes.
static void check_change(const DbList* list, const DbLink* at) {
  if (kWalkOnChange) {
    l4check(list);
    return;
  }
  if (list->last == nullptr) {
    if (list->count != 0) e4fatal_stop(e4info, "!424!");
    return;
  }
  if (list->count <= 0 || !linked(list->last) || (at != nullptr && !linked(at))) e4fatal_stop(e4info, "!424!");
}

// Whether a new element is in the list already. Its own links cannot be
// trusted (a freed pool block holds its user's bytes), so without the walk
// only the places where it would go are compared.
static bool already_in(const DbList* list, const DbLink* e) {
  if (kWalkOnChange) return l4contains(list, e) != 0;
  return list->last != nullptr && (e == list->last || e == list->last->next);
}

// Whether the element may be in the list: the walk where it is kept, else its links.
static bool member(const DbList* list, const void* element) {
  if (kWalkOnChange) return l4contains(list, element) != 0;
  return element != nullptr && list->last != nullptr && linked(link_of(element));
}

void l4check(const DbList* list) {
  if (list == nullptr) e4fatal_stop(e4parm, "l4check()");
  if (list->last == nullptr) {
    if (list->count != 0) e4fatal_stop(e4info, "!424!");
    return;
  }
  const DbLink* on = list->last;
  for (int i = 0; i < list->count; i++) {
    if (on->next == nullptr || on->next->prev != on) e4fatal_stop(e4info, "!424!");
    on = on->next;
    if (on == list->last && i != list->count - 1) e4fatal_stop(e4info, "!450!");
  }
  if (on != list->last) e4fatal_stop(e4info, "!450!");
}

int l4contains(const DbList* list, const void* element) {
  if (list == nullptr) e4fatal_stop(e4parm, "l4contains()");
  if (element == nullptr || list->last == nullptr) return 0;
  const DbLink* on = list->last;
  for (int i = 0; i < list->count; i++) {
    on = on->next;
    if (on == element) return 1;
  }
  return 0;
}

static void insert_between(DbList* list, DbLink* prev, DbLink* next, DbLink* e) {
  e->prev = prev;
  e->next = next;
  prev->next = e;
  next->prev = e;
  list->count++;
}

void l4add(DbList* list, void* element) {
  if (list == nullptr || element == nullptr) e4fatal_stop(e4parm, "l4add()");
  DbLink* e = link_of(element);
  if (already_in(list, e)) e4fatal_stop(e4info, "!424!");
  if (list->last == nullptr) {
    e->next = e->prev = e;
    list->count = 1;
  } else {
    insert_between(list, list->last, list->last->next, e);
  }
  list->last = e;
  check_change(list, e);
}

void l4add_after(DbList* list, void* anchor, void* element) {
  if (list == nullptr || element == nullptr) e4fatal_stop(e4parm, "l4add_after()");
  if (!member(list, anchor) || already_in(list, link_of(element)))
    e4fatal_stop(e4info, "!424!");
  DbLink* a = link_of(anchor);
  insert_between(list, a, a->next, link_of(element));
  if (list->last == a) list->last = link_of(element);
  check_change(list, link_of(element));
}

void l4add_before(DbList* list, void* anchor, void* element) {
  if (list == nullptr || element == nullptr) e4fatal_stop(e4parm, "l4add_before()");
  if (!member(list, anchor) || already_in(list, link_of(element)))
    e4fatal_stop(e4info, "!424!");
  DbLink* a = link_of(anchor);
  insert_between(list, a->prev, a, link_of(element));
  check_change(list, link_of(element));
}

void* l4first(const DbList* list) {
  if (list == nullptr) e4fatal_stop(e4parm, "l4first()");
  return list->last == nullptr ? nullptr : list->last->next;
}

void* l4last(const DbList* list) {
  if (list == nullptr) e4fatal_stop(e4parm, "l4last()");
  return list->last;
}

void* l4next(const DbList* list, const void* element) {
  if (list == nullptr) e4fatal_stop(e4parm, "l4next()");
  if (element == nullptr) return l4first(list);
  if (element == list->last) return nullptr;
  return link_of(element)->next;
}

void* l4prev(const DbList* list, const void* element) {
  if (list == nullptr) e4fatal_stop(e4parm, "l4prev()");
  if (element == nullptr) return list->last;
  if (list->last == nullptr || element == list->last->next) return nullptr;
  return link_of(element)->prev;
}

void l4remove(DbList* list, void* element) {
  if (list == nullptr) e4fatal_stop(e4parm, "l4remove()");
  if (element == nullptr) return;
  if (!member(list, element)) e4fatal_stop(e4info, "!424!");
  DbLink* e = link_of(element);
  if (list->selected == e) list->selected = (list->count == 1) ? nullptr : e->prev;
  if (list->count == 1) {
    list->last = nullptr;
  } else {
    e->prev->next = e->next;
    e->next->prev = e->prev;
    if (list->last == e) list->last = e->prev;
  }
  list->count--;
  e->next = e->prev = nullptr;
  check_change(list, list->last);
}

void* l4pop(DbList* list) {
  if (list == nullptr) e4fatal_stop(e4parm, "l4pop()");
  void* last = list->last;
  l4remove(list, last);
  return last;
}
