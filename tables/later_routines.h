// Stand-ins for routines that other parts of the system bring later. Each
// says so to the operator; replace it by the call once the routine exists.
#pragma once

// For the empty-browse message of the browse lists.
void EmptyBrowseWarningLater();
