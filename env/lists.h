// The engine's linked list: a ring of elements, each beginning with a DbLink.
// Used for open tables, indexes, tags, cache blocks and cached files.
#pragma once

struct DbLink {
  DbLink* next;
  DbLink* prev;
};

struct DbList {
  DbLink* last;        // the first element is last->next
  DbLink* selected;    // the cursor; NULL when none
  int count;
};

// Elements are passed as void* so that any record whose first member is a
// DbLink can be listed without casts at the call site.
void l4add(DbList* list, void* element);
void l4add_after(DbList* list, void* anchor, void* element);
void l4add_before(DbList* list, void* anchor, void* element);
void* l4first(const DbList* list);
void* l4last(const DbList* list);
void* l4next(const DbList* list, const void* element);   // NULL gives the first; the last gives NULL
void* l4prev(const DbList* list, const void* element);   // NULL gives the last; the first gives NULL
void* l4pop(DbList* list);                                // removes and returns the last
void l4remove(DbList* list, void* element);
int l4contains(const DbList* list, const void* element);
void l4check(const DbList* list);
