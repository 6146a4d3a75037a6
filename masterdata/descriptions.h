// The standard descriptions of events as the lists of other modules open
// them; the catalogue itself (kartoteka_opisow) is a module entry.
#pragma once

// The descriptions catalogue run from a list in a form: the caret hidden and
// the current window kept, both put back afterwards. The catalogue's result.
int kartoteka_opisow_z_listy();
